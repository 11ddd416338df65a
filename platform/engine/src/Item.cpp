#include "Engine.h"

#include "CallLog.h"
#include "Catalog.h"
#include "FailureTexts.h"
#include "PartialOutput.h"

#include <boost/make_shared.hpp>

#include <memory>

namespace KavennaEngine {

namespace {

const SIZE_T kRunStackSize = 256 * 1024;

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

// ".ext" of a file name; empty without one.
std::wstring ExtensionWithDot(const std::wstring& name) {
    const std::size_t dot = name.rfind(L'.');
    return dot == std::wstring::npos || dot == 0 ? std::wstring() : name.substr(dot);
}

// `name` in the folder of `path`.
std::wstring PathBeside(const std::wstring& path, const std::wstring& name) {
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? name : path.substr(0, slash + 1) + name;
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
    pRun->MarkStopped();
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
    // Many items may wait for their turn at once: each thread reserves little.
    m_worker = ::CreateThread(nullptr, kRunStackSize, &Item::RunThread, pContext,
                              CREATE_SUSPENDED | STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
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

    std::wstring failure;
    const int code = context.stage == StageDownload ? RunDownload(engine, *context.pControl, failure)
                                                     : RunCopy(engine, *context.pControl, context.stage, failure);
    {
        Guard guard(*this);
        if (context.generation == m_generation) {
            RunningFlag(context.stage) = false;
            const int finalCode = context.pControl->IsStopped() ? int(ResultStopped) : code;
            Result& stageResult = StageResult(context.stage);
            stageResult.code = finalCode;
            const bool failed =
                finalCode != ResultComplete && finalCode != ResultFinished && finalCode != ResultStopped;
            stageResult.text = failed ? failure : std::wstring();
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

int Item::RunDownload(Engine& engine, RunControl& control, std::wstring& failure) {
    std::wstring address, name;
    bool isImport;
    {
        Guard guard(*this);
        address = url;
        name = displayName;
        isImport = import;
        tempPath.clear();
    }
    if (isImport) {
        std::wstring path;
        {
            Guard guard(*this);
            path = filePath;
        }
        WIN32_FILE_ATTRIBUTE_DATA data = {};
        if (!engine.PathExists(path) || !::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) {
            failure = L"The file \"" + path + L"\" cannot be read.";
            return ResultTransferFailed;
        }
        Guard guard(*this);
        received = total = downloadReceived = data.nFileSizeLow;
        return ResultComplete;
    }
    IEnvironment* pEnvironment = engine.Environment();
    if (!pEnvironment) {
        failure = L"The engine has no videos folder.";
        return ResultTransferFailed;
    }
    // Waits for its turn before anything is made on disk.
    RunTurn turn(engine.DownloadSlots(), control);
    if (!turn.IsTaken())
        return ResultStopped;
    {
        Guard guard(*this);
        transferStartTick = transferTick = ::GetTickCount();
    }
    PartialOutput output(engine);
    if (!output.Open(WithBackslash(pEnvironment->GetVideosFolder()), name, L"", failure))
        return ResultTransferFailed;
    {
        Guard guard(*this);
        tempPath = output.PartPath();
        filePath.clear();
    }
    const boost::shared_ptr<Item> pSelf = shared_from_this();
    const DownloadItemHandle handle = Handle();
    const DWORD injectedFailure = engine.InjectedWriteFailure();
    DWORD writeError = 0;
    std::uint64_t bytesWritten = 0;
    TransferProgress progress;
    progress.onLength = [this](std::uint32_t length) {
        Guard guard(*this);
        total = length;
        transferStartTick = transferTick = ::GetTickCount();
        transferStartBytes = received;
    };
    progress.write = [&](const char* data, DWORD size) {
        ::EnterCriticalSection(&control.gate);
        bool written = !control.stopped;
        if (written && injectedFailure != 0 && bytesWritten > 0) {
            writeError = injectedFailure;
            written = false;
        } else if (written) {
            written = output.Write(data, size, writeError);
        }
        ::LeaveCriticalSection(&control.gate);
        if (!written)
            return false;
        bytesWritten += size;
        Guard guard(*this);
        received += size;
        downloadReceived = received;
        transferTick = ::GetTickCount();
        return true;
    };
    progress.onChunk = [&] {
        engine.Fire(L"OnItemProgress", pSelf, [handle](IEngineObserver& observer) { observer.OnItemProgress(handle); });
    };
    Result outcome;
    int code = FetchUrl(address, progress, control, outcome);
    if (code == ResultTransferFailed && outcome.text.empty() && writeError != 0) {
        outcome.detail = writeError;
        outcome.text = WriteFailureText(writeError, output.Folder());
    }
    std::wstring finalPath;
    if (code == ResultComplete && !output.Settle(finalPath, outcome.text))
        code = ResultTransferFailed;
    if (code != ResultComplete)
        output.Discard();
    Guard guard(*this);
    downloadResult.detail = outcome.detail;
    tempPath.clear();
    if (code != ResultComplete) {
        failure = outcome.text;
        return code;
    }
    filePath = finalPath;
    return ResultComplete;
}

int Item::RunCopy(Engine& engine, RunControl& control, int runStage, std::wstring& failure) {
    std::wstring source, format, name, previous;
    {
        Guard guard(*this);
        source = runStage == StageConversion ? filePath : convertedPath;
        previous = runStage == StageConversion ? convertedPath : deployPath;
        format = outputFormat;
    }
    if (source.empty() || !engine.PathExists(source)) {
        failure = source.empty() ? std::wstring(L"There is no file to work on.")
                                 : L"The file \"" + source + L"\" is missing.";
        return ResultTransferFailed;
    }
    std::wstring folder;
    if (runStage == StageConversion) {
        IEnvironment* pEnvironment = engine.Environment();
        if (!pEnvironment) {
            failure = L"The engine has no folder for converted videos.";
            return ResultTransferFailed;
        }
        folder = WithBackslash(pEnvironment->GetConvertedFolder());
        if (format.empty())
            format = pEnvironment->GetConversionOutputFormat();
        name = StemOf(FileNameOf(source)) + L"." + ExtensionOfFormat(format);
    } else {
        folder = WithBackslash(engine.PlayerFolder());
        name = FileNameOf(source);
    }
    RunTurn turn(engine.CopySlots(), control);
    if (!turn.IsTaken())
        return ResultStopped;
    const HANDLE input = ::CreateFileW(source.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (input == INVALID_HANDLE_VALUE) {
        failure = L"The file \"" + source + L"\" cannot be read.";
        return ResultTransferFailed;
    }
    {
        LARGE_INTEGER size = {};
        ::GetFileSizeEx(input, &size);
        Guard guard(*this);
        total = static_cast<std::uint32_t>(size.QuadPart);
    }
    const boost::shared_ptr<Item> pSelf = shared_from_this();
    const DownloadItemHandle handle = Handle();
    PartialOutput output(engine);
    // Its own earlier result may be replaced; another item's never.
    int code = output.Open(folder, name, previous, failure) ? int(ResultComplete) : int(ResultTransferFailed);
    if (code == ResultComplete && runStage == StageConversion) {
        Guard guard(*this);
        convertedTempPath = output.PartPath();
    }
    std::string buffer(64 * 1024, '\0');
    while (code == ResultComplete) {
        DWORD read = 0;
        if (!::ReadFile(input, &buffer[0], static_cast<DWORD>(buffer.size()), &read, nullptr)) {
            failure = L"The file \"" + source + L"\" cannot be read.";
            code = ResultTransferFailed;
            break;
        }
        if (read == 0)
            break;
        DWORD error = 0;
        ::EnterCriticalSection(&control.gate);
        const bool stopped = control.stopped;
        const bool written = !stopped && output.Write(buffer.data(), read, error);
        ::LeaveCriticalSection(&control.gate);
        if (stopped) {
            code = ResultStopped;
        } else if (!written) {
            failure = WriteFailureText(error, folder);
            code = ResultTransferFailed;
        }
        if (code != ResultComplete)
            break;
        {
            Guard guard(*this);
            received += read;
            transferTick = ::GetTickCount();
        }
        engine.Fire(L"OnItemProgress", pSelf, [handle](IEngineObserver& observer) { observer.OnItemProgress(handle); });
    }
    ::CloseHandle(input);
    std::wstring target;
    if (code == ResultComplete && !output.Settle(target, failure))
        code = ResultTransferFailed;
    if (code != ResultComplete)
        output.Discard();
    Guard guard(*this);
    if (runStage == StageConversion)
        convertedTempPath.clear();
    if (code != ResultComplete)
        return code;
    if (runStage == StageConversion)
        convertedPath = target;
    else
        deployPath = target;
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
    std::wstring downloaded, converted;
    {
        Item::Guard guard(m_item);
        m_item.displayName = newName;
        downloaded = m_item.filePath;
        converted = m_item.convertedPath;
    }
    // The program moves a finished item's files before it tells the new
    // name; each path follows its file so that later work (conversion,
    // playing, deleting) finds it. A file that was not moved keeps its path.
    const std::wstring newDownloaded =
        downloaded.empty() ? std::wstring() : PathBeside(downloaded, newName);
    const std::wstring newConverted =
        converted.empty() ? std::wstring()
                          : PathBeside(converted, StemOf(newName) + ExtensionWithDot(FileNameOf(converted)));
    const boost::shared_ptr<Engine> pEngine = m_item.GetEngine();
    const auto moved = [&pEngine](const std::wstring& from, const std::wstring& to) {
        return !to.empty() && to != from && pEngine && !pEngine->PathExists(from) && pEngine->PathExists(to);
    };
    const bool downloadedMoved = moved(downloaded, newDownloaded);
    const bool convertedMoved = moved(converted, newConverted);
    Item::Guard guard(m_item);
    if (downloadedMoved && m_item.filePath == downloaded)
        m_item.filePath = newDownloaded;
    if (convertedMoved && m_item.convertedPath == converted)
        m_item.convertedPath = newConverted;
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
