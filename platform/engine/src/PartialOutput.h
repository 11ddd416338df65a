#pragma once
// The file a run writes: a name picked and taken in its folder (free on disk
// and among the engine's runs, "name (n).ext" from 2 on), written as
// "<name>.part", then moved to its name, or removed when the run fails or
// stops. Only a file that exists under its name counts as settled.
//
//   PartialOutput output(engine);
//   if (!output.Open(folder, name, L"", failure)) return ResultTransferFailed;
//   output.Write(data, size, error) ...
//   if (!output.Settle(path, failure)) return ResultTransferFailed;
//
// Thread: the run's worker thread; Write may be called under the run's gate.
#include <windows.h>

#include <string>

namespace KavennaEngine {

class Engine;

class PartialOutput {
public:
    explicit PartialOutput(Engine& engine) : m_engine(engine) {}
    // Discards what is not settled.
    ~PartialOutput() { Discard(); }
    PartialOutput(const PartialOutput&) = delete;
    PartialOutput& operator=(const PartialOutput&) = delete;

    // Makes the folder (ending with a separator), picks and takes a name and
    // creates its partial file. `replaceable`: a file this run may replace
    // (its own earlier result); empty for none. False with `failure` in words.
    bool Open(const std::wstring& folder, const std::wstring& name, const std::wstring& replaceable,
              std::wstring& failure);
    // False with the Win32 error in `error`.
    bool Write(const char* data, DWORD size, DWORD& error);
    // Closes the partial file and gives it its name, or a free one when
    // something took the name meanwhile. False with `failure` in words (the
    // partial file is then removed).
    bool Settle(std::wstring& finalPath, std::wstring& failure);
    // Closes and removes the partial file, and lets its name go.
    void Discard();

    const std::wstring& PartPath() const { return m_partPath; }
    const std::wstring& Folder() const { return m_folder; }

private:
    void Close();
    // Under the engine's name lock: the first numbered name that is free.
    std::wstring FreePath();
    bool IsReplaceable(const std::wstring& path) const;

    Engine& m_engine;
    HANDLE m_file = INVALID_HANDLE_VALUE;
    std::wstring m_folder;
    std::wstring m_replaceable;
    std::wstring m_name;       // the fitted name before numbering
    std::wstring m_finalPath;  // taken in the engine while not empty
    std::wstring m_partPath;   // exists while not empty
};

}  // namespace KavennaEngine
