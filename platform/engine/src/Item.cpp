#include "Engine.h"

#include "CallLog.h"
#include "Catalog.h"

#include <boost/make_shared.hpp>

#include <memory>

namespace KavennaEngine {

namespace {

std::wstring WithBackslash(std::wstring folder) {
    if (!folder.empty() && folder.back() != L'\\' && folder.back() != L'/')
        folder += L'\\';
    return folder;
}

std::wstring FileNameOf(const std::wstring& path) {
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

std::wstring StemOf(const std::wstring& name) {
    const std::size_t dot = name.rfind(L'.');
    return dot == std::wstring::npos || dot == 0 ? name : name.substr(0, dot);
}

// Characters a file name cannot hold become '_'; an empty name becomes "video".
std::wstring SafeFileName(std::wstring name) {
    for (wchar_t& ch : name) {
        if (ch < 32 || std::wstring(L"\\/:*?\"<>|").find(ch) != std::wstring::npos)
            ch = L'_';
    }
    return name.empty() ? std::wstring(L"video") : name;
}

// "<folder>name.ext", or "<folder>name (n).ext" for the first n free.
std::wstring FreePath(Engine& engine, const std::wstring& folder, const std::wstring& name) {
    std::wstring path = folder + name;
    const std::wstring stem = StemOf(name);
    const std::wstring extension = name.substr(stem.size());
    for (int n = 2; engine.PathExists(path) || engine.PathExists(path + L".part"); ++n)
        path = folder + stem + L" (" + std::to_wstring(n) + L")" + extension;
    return path;
}

class OutputFile {
public:
    explicit OutputFile(const std::wstring& path)
        : m_handle(::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr)) {}
    ~OutputFile() { Close(); }
    bool IsOpen() const { return m_handle != INVALID_HANDLE_VALUE; }
    bool Write(const char* data, DWORD size) {
        DWORD written = 0;
        return ::WriteFile(m_handle, data, size, &written, nullptr) && written == size;
    }
    void Close() {
        if (IsOpen())
            ::CloseHandle(m_handle);
        m_handle = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE m_handle;
};

// The outcome of a run in words, for a failure only: the HTTP status or
// Win32 error behind it when there is one.
std::wstring FailureText(int code, std::uint32_t detail) {
    if (code != ResultTransferFailed && code != ResultNotRepeatable)
        return {};
    if (detail >= 100 && detail < 600)
        return L"The server answered " + std::to_wstring(detail) + L".";
    if (detail != 0)
        return L"The transfer failed (error " + std::to_wstring(detail) + L").";
    return L"The transfer failed.";
}

}  // namespace

struct Item::RunContext {
    boost::shared_ptr<Item> pItem;
    boost::shared_ptr<Engine> pEngine;
    boost::shared_ptr<RunControl> pControl;
    HANDLE previous;
    unsigned generation;
    int stage;
};

Item::Item(const boost::shared_ptr<Engine>& pEngine, std::uintptr_t number) : m_pEngine(pEngine), m_number(number) {
    ::InitializeCriticalSection(&m_section);
    ::InitializeCriticalSection(&m_workerLock);
}

Item::~Item() {
    if (m_worker)
        ::CloseHandle(m_worker);
    ::DeleteCriticalSection(&m_workerLock);
    ::DeleteCriticalSection(&m_section);
}

const Result* Item::GetResult() {
    Guard guard(*this);
    return &result;
}

int Item::GetStage() {
    Guard guard(*this);
    return stage;
}

void Item::AdvanceStage() {
    CallLog::Instance().Write(L"AdvanceStage", m_number);
    Guard guard(*this);
    if (stage < StageDeploy)
        ++stage;
}

void Item::Start() {
    CallLog::Instance().Write(L"Start", m_number);
    if (auto pEngine = GetEngine())
        pEngine->RunHook(TestDoor::HookStart, m_number);
    RunStage(GetStage());
}

void Item::Stop() {
    CallLog::Instance().Write(L"Stop", m_number);
    if (auto pEngine = GetEngine())
        pEngine->RunHook(TestDoor::HookStop, m_number);
    StopRun();
}

std::uint32_t Item::GetReceivedBytes() {
    Guard guard(*this);
    return received;
}

std::uint32_t Item::GetTotalBytes() {
    Guard guard(*this);
    return total;
}

std::uint32_t Item::GetAuxiliaryCount() {
    Guard guard(*this);
    return auxiliaryCount;
}

std::uint32_t Item::GetPosition() {
    Guard guard(*this);
    return position;
}

std::uint32_t Item::GetDuration() {
    Guard guard(*this);
    return duration;
}

bool Item::IsRunning() {
    Guard guard(*this);
    return downloadRunning || conversionRunning || deployRunning;
}

bool& Item::RunningFlag(int runStage) {
    return runStage == StageDownload ? downloadRunning : runStage == StageConversion ? conversionRunning : deployRunning;
}

Result& Item::StageResult(int runStage) {
    return runStage == StageDownload ? downloadResult : runStage == StageConversion ? conversionResult : deployResult;
}

void Item::StopRun() {
    boost::shared_ptr<RunControl> pRun;
    {
        ::EnterCriticalSection(&m_workerLock);
        pRun = m_pRun;
        ::LeaveCriticalSection(&m_workerLock);
    }
    if (!pRun)
        return;
    // Waits for a write in progress: nothing is written once this returns.
    ::EnterCriticalSection(&pRun->gate);
    pRun->stopped = true;
    ::LeaveCriticalSection(&pRun->gate);
    Guard guard(*this);
    for (int runStage = StageDownload; runStage <= StageDeploy; ++runStage) {
        if (RunningFlag(runStage)) {
            RunningFlag(runStage) = false;
            StageResult(runStage).code = ResultStopped;
            result.code = ResultStopped;
        }
    }
}

void Item::RunStage(int runStage) {
    const boost::shared_ptr<Engine> pEngine = GetEngine();
    if (!pEngine || IsDropped())
        return;
    StopRun();
    auto* pContext = new RunContext{shared_from_this(), pEngine, boost::make_shared<RunControl>(), nullptr, 0, runStage};
    {
        Guard guard(*this);
        pContext->generation = ++m_generation;
        stage = runStage;
        RunningFlag(runStage) = true;
    }
    ::EnterCriticalSection(&m_workerLock);
    pContext->previous = m_worker;
    m_pRun = pContext->pControl;
    m_worker = ::CreateThread(nullptr, 0, &Item::RunThread, pContext, CREATE_SUSPENDED, nullptr);
    const HANDLE worker = m_worker;
    ::LeaveCriticalSection(&m_workerLock);
    if (!worker) {
        m_worker = pContext->previous;
        delete pContext;
        Guard guard(*this);
        RunningFlag(runStage) = false;
        StageResult(runStage).code = result.code = ResultTransferFailed;
        return;
    }
    // The new run owns the previous thread's handle and waits for it.
    ::ResumeThread(worker);
}

DWORD WINAPI Item::RunThread(void* parameter) {
    std::unique_ptr<RunContext> pContext(static_cast<RunContext*>(parameter));
    if (pContext->previous) {
        ::WaitForSingleObject(pContext->previous, 60000);
        ::CloseHandle(pContext->previous);
    }
    pContext->pItem->Run(*pContext);
    return 0;
}

void Item::Run(RunContext& context) {
    Engine& engine = *context.pEngine;
    const boost::shared_ptr<Item> pSelf = context.pItem;
    {
        Guard guard(*this);
        received = 0;
        total = 0;
        transferStartBytes = 0;
        transferStartTick = transferTick = ::GetTickCount();
        StageResult(context.stage).detail = 0;
        if (context.stage == StageDownload) {
            downloadReceived = 0;
            complete = false;
        }
    }
    const DownloadItemHandle handle = Handle();
    engine.Fire(L"OnItemStarted", pSelf, [handle](IEngineObserver& observer) { observer.OnItemStarted(handle); });

    const int code = context.stage == StageDownload ? RunDownload(engine, *context.pControl)
                                                     : RunCopy(engine, *context.pControl, context.stage);
    {
        Guard guard(*this);
        if (context.generation == m_generation) {
            RunningFlag(context.stage) = false;
            const int finalCode = context.pControl->IsStopped() ? int(ResultStopped) : code;
            Result& stageResult = StageResult(context.stage);
            stageResult.code = finalCode;
            stageResult.text = FailureText(finalCode, stageResult.detail);
            stageResult.messageName.clear();
            result.code = finalCode;
            result.text = stageResult.text;
            result.messageName.clear();
            if (context.stage == StageDownload)
                complete = finalCode == ResultComplete;
        }
    }
    engine.Fire(L"OnItemFinished", pSelf, [handle](IEngineObserver& observer) { observer.OnItemFinished(handle); });
}

int Item::RunDownload(Engine& engine, RunControl& control) {
    std::wstring address, name;
    bool isImport;
    {
        Guard guard(*this);
        address = url;
        name = displayName;
        isImport = import;
    }
    if (isImport) {
        std::wstring path;
        {
            Guard guard(*this);
            path = filePath;
        }
        WIN32_FILE_ATTRIBUTE_DATA data = {};
        if (!engine.PathExists(path) || !::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
            return ResultTransferFailed;
        Guard guard(*this);
        received = total = downloadReceived = data.nFileSizeLow;
        return ResultComplete;
    }
    IEnvironment* pEnvironment = engine.Environment();
    if (!pEnvironment)
        return ResultTransferFailed;
    const std::wstring folder = WithBackslash(pEnvironment->GetVideosFolder());
    if (!engine.PathExists(folder) && !engine.CreateFolder(folder))
        return ResultTransferFailed;
    const std::wstring finalPath = FreePath(engine, folder, SafeFileName(name));
    const std::wstring partPath = finalPath + L".part";
    {
        Guard guard(*this);
        tempPath = partPath;
        filePath.clear();
    }
    OutputFile file(partPath);
    if (!file.IsOpen())
        return ResultTransferFailed;
    const boost::shared_ptr<Item> pSelf = shared_from_this();
    const DownloadItemHandle handle = Handle();
    TransferProgress progress;
    progress.onLength = [this](std::uint32_t length) {
        Guard guard(*this);
        total = length;
        transferStartTick = transferTick = ::GetTickCount();
        transferStartBytes = received;
    };
    progress.write = [&](const char* data, DWORD size) {
        ::EnterCriticalSection(&control.gate);
        const bool written = !control.stopped && file.Write(data, size);
        ::LeaveCriticalSection(&control.gate);
        if (!written)
            return false;
        Guard guard(*this);
        received += size;
        downloadReceived = received;
        transferTick = ::GetTickCount();
        return true;
    };
    progress.onChunk = [&] {
        engine.Fire(L"OnItemProgress", pSelf, [handle](IEngineObserver& observer) { observer.OnItemProgress(handle); });
    };
    std::uint32_t detail = 0;
    const int code = FetchUrl(address, progress, detail, control);
    file.Close();
    {
        Guard guard(*this);
        downloadResult.detail = detail;
    }
    if (code != ResultComplete)
        return code;
    if (!engine.MoveFile(partPath, finalPath))
        return ResultTransferFailed;
    Guard guard(*this);
    filePath = finalPath;
    tempPath.clear();
    return ResultComplete;
}

int Item::RunCopy(Engine& engine, RunControl& control, int runStage) {
    std::wstring source, format, name;
    {
        Guard guard(*this);
        source = runStage == StageConversion ? filePath : convertedPath;
        format = outputFormat;
    }
    if (source.empty() || !engine.PathExists(source))
        return ResultTransferFailed;
    std::wstring folder;
    if (runStage == StageConversion) {
        IEnvironment* pEnvironment = engine.Environment();
        if (!pEnvironment)
            return ResultTransferFailed;
        folder = WithBackslash(pEnvironment->GetConvertedFolder());
        if (format.empty())
            format = pEnvironment->GetConversionOutputFormat();
        name = StemOf(FileNameOf(source)) + L"." + ExtensionOfFormat(format);
    } else {
        folder = WithBackslash(engine.PlayerFolder());
        name = FileNameOf(source);
    }
    if (!engine.PathExists(folder) && !engine.CreateFolder(folder))
        return ResultTransferFailed;
    const std::wstring target = folder + name;
    const std::wstring partPath = target + L".part";
    {
        Guard guard(*this);
        if (runStage == StageConversion)
            convertedTempPath = partPath;
    }
    const HANDLE input = ::CreateFileW(source.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (input == INVALID_HANDLE_VALUE)
        return ResultTransferFailed;
    {
        LARGE_INTEGER size = {};
        ::GetFileSizeEx(input, &size);
        Guard guard(*this);
        total = static_cast<std::uint32_t>(size.QuadPart);
    }
    const boost::shared_ptr<Item> pSelf = shared_from_this();
    const DownloadItemHandle handle = Handle();
    int code = ResultComplete;
    {
        OutputFile output(partPath);
        if (!output.IsOpen())
            code = ResultTransferFailed;
        std::string buffer(64 * 1024, '\0');
        while (code == ResultComplete) {
            DWORD read = 0;
            if (!::ReadFile(input, &buffer[0], static_cast<DWORD>(buffer.size()), &read, nullptr)) {
                code = ResultTransferFailed;
                break;
            }
            if (read == 0)
                break;
            ::EnterCriticalSection(&control.gate);
            const bool stopped = control.stopped;
            const bool written = !stopped && output.Write(buffer.data(), read);
            ::LeaveCriticalSection(&control.gate);
            if (stopped)
                code = ResultStopped;
            else if (!written)
                code = ResultTransferFailed;
            if (code != ResultComplete)
                break;
            {
                Guard guard(*this);
                received += read;
                transferTick = ::GetTickCount();
            }
            engine.Fire(L"OnItemProgress", pSelf, [handle](IEngineObserver& observer) { observer.OnItemProgress(handle); });
        }
    }
    ::CloseHandle(input);
    if (code != ResultComplete)
        return code;
    if (engine.PathExists(target))
        engine.DeleteFile(target);
    if (!engine.MoveFile(partPath, target))
        return ResultTransferFailed;
    Guard guard(*this);
    if (runStage == StageConversion) {
        convertedPath = target;
        convertedTempPath.clear();
    } else {
        deployPath = target;
    }
    return ResultComplete;
}

void Item::Apply(const TestDoor::ItemSpec& spec) {
    Guard guard(*this);
    url = spec.url;
    stage = spec.stage;
    result.code = spec.resultCode;
    result.text = spec.resultText;
    result.messageName = spec.resultMessageName;
    downloadResult.code = spec.downloadCode;
    conversionResult.code = spec.conversionCode;
    deployResult.code = spec.deployCode;
    received = downloadReceived = spec.received;
    total = spec.total;
    auxiliaryCount = spec.auxiliaryCount;
    position = spec.position;
    duration = spec.duration;
    transferStartBytes = spec.transferStartBytes;
    transferStartTick = spec.transferStartTick;
    transferTick = spec.transferTick;
    displayName = spec.displayName;
    alternateName = spec.alternateName;
    tempPath = spec.tempPath;
    filePath = spec.filePath;
    convertedTempPath = spec.convertedTempPath;
    convertedPath = spec.convertedPath;
    deployPath = spec.deployPath;
    reviewText = spec.reviewText;
    review.reviewFlag = spec.reviewFlag;
    mediaKind = spec.mediaKind;
    complete = spec.complete;
    import = spec.import;
    downloadRunning = spec.downloadRunning;
    conversionRunning = spec.conversionRunning;
    deployRunning = spec.deployRunning;
}

// The stage objects read and act on their item under its section.

bool DownloadStageImpl::IsRunning() {
    Item::Guard guard(m_item);
    return m_item.downloadRunning;
}
const Result* DownloadStageImpl::GetResult() {
    Item::Guard guard(m_item);
    return &m_item.downloadResult;
}
std::wstring DownloadStageImpl::GetAlternateName() {
    Item::Guard guard(m_item);
    return m_item.alternateName;
}
std::wstring DownloadStageImpl::GetDisplayName() {
    Item::Guard guard(m_item);
    return m_item.displayName;
}
std::wstring DownloadStageImpl::GetTempPath() {
    Item::Guard guard(m_item);
    return m_item.tempPath;
}
std::wstring DownloadStageImpl::GetReviewText() {
    Item::Guard guard(m_item);
    return m_item.reviewText;
}
std::wstring DownloadStageImpl::GetFilePath() {
    Item::Guard guard(m_item);
    return m_item.filePath;
}
bool DownloadStageImpl::IsComplete() {
    Item::Guard guard(m_item);
    return m_item.complete;
}
bool DownloadStageImpl::IsImport() {
    Item::Guard guard(m_item);
    return m_item.import;
}
const ReviewRecord* DownloadStageImpl::GetReviewRecord() {
    Item::Guard guard(m_item);
    return &m_item.review;
}
void DownloadStageImpl::Start() {
    CallLog::Instance().Write(L"DownloadStage::Start", m_item.Number());
    if (auto pEngine = m_item.GetEngine())
        pEngine->RunHook(TestDoor::HookStart, m_item.Number());
    m_item.RunStage(StageDownload);
}
void DownloadStageImpl::Stop() {
    CallLog::Instance().Write(L"DownloadStage::Stop", m_item.Number());
    if (auto pEngine = m_item.GetEngine())
        pEngine->RunHook(TestDoor::HookStop, m_item.Number());
    m_item.StopRun();
}
std::uint32_t DownloadStageImpl::GetReceivedBytes() {
    Item::Guard guard(m_item);
    return m_item.downloadReceived;
}
std::uint32_t DownloadStageImpl::GetTransferStartBytes() {
    Item::Guard guard(m_item);
    return m_item.transferStartBytes;
}
std::uint32_t DownloadStageImpl::GetTransferTick() {
    Item::Guard guard(m_item);
    return m_item.transferTick;
}
std::uint32_t DownloadStageImpl::GetTransferStartTick() {
    Item::Guard guard(m_item);
    return m_item.transferStartTick;
}
std::uint32_t DownloadStageImpl::GetPosition() {
    Item::Guard guard(m_item);
    return m_item.position;
}
int DownloadStageImpl::GetMediaKind() {
    Item::Guard guard(m_item);
    return m_item.mediaKind;
}
void DownloadStageImpl::Rename(const std::wstring& newName, int how, int flags) {
    CallLog::Instance().Write(L"Rename " + newName + L" " + std::to_wstring(how) + L" " + std::to_wstring(flags),
                              m_item.Number());
    Item::Guard guard(m_item);
    m_item.displayName = newName;
}

void ConversionStageImpl::Start() {
    CallLog::Instance().Write(L"ConversionStage::Start", m_item.Number());
    if (auto pEngine = m_item.GetEngine())
        pEngine->RunHook(TestDoor::HookStart, m_item.Number());
    m_item.RunStage(StageConversion);
}
const Result* ConversionStageImpl::GetResult() {
    Item::Guard guard(m_item);
    return &m_item.conversionResult;
}
std::wstring ConversionStageImpl::GetTempPath() {
    Item::Guard guard(m_item);
    return m_item.convertedTempPath;
}
std::wstring ConversionStageImpl::GetFilePath() {
    Item::Guard guard(m_item);
    return m_item.convertedPath;
}
bool ConversionStageImpl::IsRunning() {
    Item::Guard guard(m_item);
    return m_item.conversionRunning;
}
void ConversionStageImpl::SetOutputFormat(const std::wstring& format) {
    CallLog::Instance().Write(L"SetOutputFormat " + format, m_item.Number());
    Item::Guard guard(m_item);
    m_item.outputFormat = format;
}

void DeployStageImpl::Start() {
    CallLog::Instance().Write(L"DeployStage::Start", m_item.Number());
    if (auto pEngine = m_item.GetEngine())
        pEngine->RunHook(TestDoor::HookStart, m_item.Number());
    m_item.RunStage(StageDeploy);
}
const Result* DeployStageImpl::GetResult() {
    Item::Guard guard(m_item);
    return &m_item.deployResult;
}
std::wstring DeployStageImpl::GetFilePath() {
    Item::Guard guard(m_item);
    return m_item.deployPath;
}
bool DeployStageImpl::IsRunning() {
    Item::Guard guard(m_item);
    return m_item.deployRunning;
}

}  // namespace KavennaEngine
