#include "EngineStandIn.h"

#include "downloads/engine/ItemLocker.h"

#include <algorithm>

namespace DownloadsTests {

using namespace KavennaEngine;

namespace {
HMODULE StandInModule() {
    static const HMODULE module = ::LoadLibraryW(kLibraryFileName);
    return module;
}
}  // namespace

TestDoor::ITestDoor* TestDoor() {
    const auto entry =
        reinterpret_cast<TestDoor::Entry>(::GetProcAddress(StandInModule(), TestDoor::kEntryPointName));
    return entry ? entry() : nullptr;
}

std::string BodyPattern(std::size_t size, unsigned seed) {
    std::string body(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        body[i] = static_cast<char>((i * 7 + i / 251 + seed * 13) & 0xFF);
    return body;
}

EngineStandIn::EngineStandIn() : door(TestDoor()) {
    const auto entry = reinterpret_cast<EntryPoint>(::GetProcAddress(StandInModule(), kEntryPointName));
    if (entry)
        pLibrary.reset(entry());
    if (pLibrary)
        pLibrary->CreateEngine(pEngine);
    if (door)
        door->ClearCallLog();
}

std::vector<std::wstring> EngineStandIn::Calls(const std::wstring& call) const {
    std::vector<std::wstring> lines;
    for (const std::wstring& line : door->GetCallLog()) {
        if (line.compare(0, call.size(), call) == 0)
            lines.push_back(line);
    }
    return lines;
}

FolderEnvironment::FolderEnvironment() {
    m_folder.MakeFolder(L"Videos");
}

bool FolderEnvironment::CreateFolder(const wchar_t* path) {
    ::InterlockedIncrement(&fileOperations);
    return ::CreateDirectoryW(path, nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS;
}

bool FolderEnvironment::MoveFile(const wchar_t* from, const wchar_t* to) {
    ::InterlockedIncrement(&fileOperations);
    return ::MoveFileW(from, to) != FALSE;
}

bool FolderEnvironment::DeleteFile(const wchar_t* path) {
    ::InterlockedIncrement(&fileOperations);
    return ::DeleteFileW(path) || ::GetLastError() == ERROR_FILE_NOT_FOUND;
}

bool FolderEnvironment::PathExists(const wchar_t* path) {
    ::InterlockedIncrement(&fileOperations);
    return ::GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES;
}

EngineSession::EngineSession(const boost::shared_ptr<IEngine>& pEngine, FolderEnvironment& environment,
                             IEngineObserver& observer)
    : m_pEngine(pEngine), m_observer(observer) {
    m_isStarted = m_pEngine && m_pEngine->Initialize(&environment, &environment);
    if (m_isStarted)
        m_pEngine->Subscribe(&m_observer);
}

EngineSession::~EngineSession() {
    if (!m_isStarted)
        return;
    m_pEngine->Unsubscribe(&m_observer);
    m_pEngine->Uninitialize();
}

CRITICAL_SECTION* RecordingObserver::MakeSection() {
    auto* pSection = new CRITICAL_SECTION;
    ::InitializeCriticalSection(pSection);
    return pSection;
}

RecordingObserver::~RecordingObserver() {
    ::CloseHandle(m_finished);
    ::DeleteCriticalSection(m_pSection);
    delete m_pSection;
}

void RecordingObserver::OnEngineStateChanged(int state) {
    ::EnterCriticalSection(m_pSection);
    m_events.push_back({L"State", 0, ::GetCurrentThreadId(), state, 0, 0});
    ::LeaveCriticalSection(m_pSection);
}

void RecordingObserver::OnItemFinished(DownloadItemHandle item) {
    Record(L"Finished", item);
    ::SetEvent(m_finished);
}

void RecordingObserver::OnDuplicateFound(DownloadItemHandle existingItem, DownloadItemHandle duplicateItem) {
    ::EnterCriticalSection(m_pSection);
    duplicates = {existingItem, duplicateItem};
    m_events.push_back({L"Duplicate", existingItem.m_pRaw, ::GetCurrentThreadId(), 0, 0, 0});
    ::LeaveCriticalSection(m_pSection);
    ::SetEvent(m_finished);
}

void RecordingObserver::Record(const wchar_t* name, const DownloadItemHandle& item) {
    RecordedEvent event{name, item.m_pRaw, ::GetCurrentThreadId(), -1, 0, 0};
    if (m_pEngine)
        m_pEngine->GetState();
    ItemLocker locker;
    if (auto pItem = item.Lock(locker)) {
        event.code = pItem->GetResult()->code;
        event.received = pItem->GetReceivedBytes();
        event.total = pItem->GetTotalBytes();
    }
    ::EnterCriticalSection(m_pSection);
    m_events.push_back(event);
    ::LeaveCriticalSection(m_pSection);
}

std::vector<RecordedEvent> RecordingObserver::Events() const {
    ::EnterCriticalSection(m_pSection);
    std::vector<RecordedEvent> events = m_events;
    ::LeaveCriticalSection(m_pSection);
    return events;
}

bool RecordingObserver::WaitFinished(std::size_t count, DWORD timeoutMs) const {
    const DWORD start = ::GetTickCount();
    for (;;) {
        const std::vector<RecordedEvent> events = Events();
        const auto finished = std::count_if(events.begin(), events.end(), [](const RecordedEvent& e) {
            return e.name == L"Finished" || e.name == L"Duplicate";
        });
        if (static_cast<std::size_t>(finished) >= count)
            return true;
        if (::GetTickCount() - start > timeoutMs)
            return false;
        ::WaitForSingleObject(m_finished, 50);
        ::ResetEvent(m_finished);
    }
}

}  // namespace DownloadsTests
