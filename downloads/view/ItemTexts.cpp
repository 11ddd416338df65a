#include "downloads/view/ItemTexts.h"
#include "downloads/view/ViewServices.h"

#include "downloads/engine/ItemLocker.h"
#include "foundation/errors/ReportingObject.h"
#include "foundation/filesystem/File.h"
#include "foundation/strings/StringFormat.h"
#include "resources/appresources/ResourceManagerHolder.h"

#include <algorithm>
#include <cstdio>
#include <iomanip>
#include <sstream>

using ViewServices::LanguageString;

namespace {

// "%#.1f" of the bytes in megabytes.
std::wstring Megabytes(std::uint32_t bytes) {
    wchar_t buffer[32] = {};
    std::swprintf(buffer, 32, L"%#.1f", bytes / 1048576.0);
    return buffer;
}

// One engine value of the locked item; 0 (reported) when it is gone.
template <class Read>
std::uint32_t ReadItem(const KavennaEngine::DownloadItemHandle& item, Read read) {
    KavennaEngine::ItemLocker locker;
    const boost::shared_ptr<KavennaEngine::IDownloadItem> pItem = item.Lock(locker);
    if (!pItem) {
        ItemTexts::ReportItemGone();
        return 0;
    }
    return read(*pItem);
}

}  // namespace

std::wstring FormatSize(std::uint32_t bytes) {
    std::wostringstream text;
    if (bytes <= 1024)
        text << bytes << L' ' << LanguageString(AppResources::StringID_Bytes);
    else if (bytes <= 1048576)
        text << (bytes >> 10) << L' ' << LanguageString(AppResources::StringID_Kilobytes);
    else
        text << Megabytes(bytes) << L' ' << LanguageString(AppResources::StringID_Megabytes);
    return text.str();
}

std::wstring FormatTime(std::uint32_t seconds) {
    std::wostringstream text;
    text << std::setfill(L'0') << std::setw(2) << (seconds / 3600 - (seconds / 86400) * 24) << L':' << std::setw(2)
         << (seconds / 60 - (seconds / 3600) * 60) << L':' << std::setw(2) << (seconds - (seconds / 60) * 60);
    return text.str();
}

namespace ItemTexts {

void ReportItemGone() {
    const ErrorHandling::ErrorCode code(E_FAIL);
    Reporting::GetModuleReportingObject().ReportError("((_$_pengItem))", &code);
}

std::uint32_t ReceivedBytes(const KavennaEngine::DownloadItemHandle& item) {
    return ReadItem(item, [](KavennaEngine::IDownloadItem& engineItem) { return engineItem.GetReceivedBytes(); });
}

std::uint32_t TotalBytes(const KavennaEngine::DownloadItemHandle& item) {
    return ReadItem(item, [](KavennaEngine::IDownloadItem& engineItem) { return engineItem.GetTotalBytes(); });
}

std::uint32_t PositionSeconds(const KavennaEngine::DownloadItemHandle& item) {
    return ReadItem(item, [](KavennaEngine::IDownloadItem& engineItem) { return engineItem.GetPosition() / 1000; });
}

std::uint32_t DurationSeconds(const KavennaEngine::DownloadItemHandle& item) {
    return ReadItem(item, [](KavennaEngine::IDownloadItem& engineItem) { return engineItem.GetDuration() / 1000; });
}

std::uint32_t ProgressPercent(std::uint32_t position, std::uint32_t duration, std::uint32_t received,
                              std::uint32_t total) {
    // 64 bits: a byte count times 100 overflows 32.
    std::uint64_t percent = 0;
    if (duration != 0)
        percent = std::uint64_t(position) * 100 / duration;
    else if (total != 0)
        percent = std::uint64_t(received) * 100 / total;
    return static_cast<std::uint32_t>(std::min<std::uint64_t>(percent, 100));
}

std::uint32_t ProgressPercent(const KavennaEngine::DownloadItemHandle& item) {
    const std::uint32_t duration = DurationSeconds(item);
    if (duration != 0)
        return ProgressPercent(PositionSeconds(item), duration, 0, 0);
    return ProgressPercent(0, 0, ReceivedBytes(item), TotalBytes(item));
}

bool ReadProgressValues(const KavennaEngine::DownloadItemHandle& item, ProgressValues& values) {
    KavennaEngine::ItemLocker locker;
    const boost::shared_ptr<KavennaEngine::IDownloadItem> pItem = item.Lock(locker);
    if (!pItem)
        return false;
    values.received = pItem->GetReceivedBytes();
    values.total = pItem->GetTotalBytes();
    values.position = pItem->GetPosition() / 1000;
    values.duration = pItem->GetDuration() / 1000;
    values.stage = pItem->GetStage();
    KavennaEngine::IDownloadStage* pStage = pItem->GetDownloadStage();
    values.name = pStage ? pStage->GetDisplayName() : std::wstring();
    return true;
}

bool IsProgressUnknown(const ProgressValues& values) {
    if (values.received != 0 && values.total != 0)
        return false;
    return values.position == 0 || values.duration == 0;
}

namespace {

// The four numbers, each in a lock period of its own.
ProgressValues ReadEachValue(const KavennaEngine::DownloadItemHandle& item) {
    ProgressValues values;
    values.received = ReceivedBytes(item);
    values.total = TotalBytes(item);
    values.position = PositionSeconds(item);
    values.duration = DurationSeconds(item);
    return values;
}

}  // namespace

bool IsProgressUnknown(const KavennaEngine::DownloadItemHandle& item) {
    return IsProgressUnknown(ReadEachValue(item));
}

std::wstring SizeProgressText(std::uint32_t received, std::uint32_t total) {
    const std::uint32_t larger = std::max(received, total);
    const std::wstring separator = LanguageString(AppResources::StringID_Of);
    std::wostringstream text;
    if (larger <= 1024)
        text << received << separator << total << L' ' << LanguageString(AppResources::StringID_Bytes);
    else if (larger <= 1048576)
        text << (received / 1024) << separator << (total / 1024) << L' '
             << LanguageString(AppResources::StringID_Kilobytes);
    else
        text << Megabytes(received) << separator << Megabytes(total) << L' '
             << LanguageString(AppResources::StringID_Megabytes);
    return text.str();
}

std::wstring SizeProgressText(const KavennaEngine::DownloadItemHandle& item) {
    const std::uint32_t received = ReceivedBytes(item);
    return SizeProgressText(received, TotalBytes(item));
}

std::wstring TimeProgressText(std::uint32_t position, std::uint32_t duration) {
    return STLHelpers::FormatString2(LanguageString(AppResources::StringID_AOfB), FormatTime(std::min(position, duration)),
                                     FormatTime(duration));
}

std::wstring TimeProgressText(const KavennaEngine::DownloadItemHandle& item) {
    const std::uint32_t position = PositionSeconds(item);
    return TimeProgressText(position, DurationSeconds(item));
}

std::wstring PositionText(const KavennaEngine::DownloadItemHandle& item) {
    const std::uint32_t position = PositionSeconds(item);
    return FormatTime(std::min(position, DurationSeconds(item)));
}

std::wstring DurationText(const KavennaEngine::DownloadItemHandle& item) {
    return FormatTime(DurationSeconds(item));
}

std::wstring DownloadInfoText(const ProgressValues& values) {
    if (values.duration != 0 && values.position != 0)
        return L" " + TimeProgressText(values.position, values.duration);
    if (values.total != 0 && values.received != 0)
        return L" " + SizeProgressText(values.received, values.total);
    if (values.position == 0)
        return values.received == 0 ? std::wstring() : L" " + FormatSize(values.received);
    // A running time without an end: a live stream.
    return L" " + LanguageString(AppResources::StringID_Broadcast) + L" " + FormatTime(values.position);
}

std::wstring DownloadInfoText(const KavennaEngine::DownloadItemHandle& item) {
    return DownloadInfoText(ReadEachValue(item));
}

std::wstring SpeedText(const KavennaEngine::DownloadItemHandle& item, SpeedState& state) {
    double startBytes = 0, bytes = 0, startTick = 0, tick = 0;
    {
        KavennaEngine::ItemLocker locker;
        const boost::shared_ptr<KavennaEngine::IDownloadItem> pItem = item.Lock(locker);
        if (!pItem) {
            ReportItemGone();
            return std::wstring();
        }
        // The four values of one moment: one lock period.
        KavennaEngine::IDownloadStage* pStage = pItem->GetDownloadStage();
        startBytes = pStage->GetTransferStartBytes();
        bytes = pStage->GetReceivedBytes();
        startTick = pStage->GetTransferStartTick();
        tick = pStage->GetTransferTick();
    }
    if (startBytes == 0 || startTick == 0)
        return std::wstring();
    const double seconds = tick / 1000 - startTick / 1000;
    if (seconds != 0) {
        const double rate = (bytes - startBytes) * (1.0 / 1024) / seconds;
        const double sum = state.average + rate;
        state.average = sum == rate ? sum : sum * 0.5;
    }
    double shown = state.lastRate;
    if (static_cast<std::uint32_t>(tick) - state.lastTick >= 2000 || state.lastTick == 0) {
        state.lastTick = static_cast<std::uint32_t>(tick);
        state.lastRate = state.average;
        shown = state.average;
        state.average = 0.0;
    }
    std::wostringstream text;
    text << shown << L' ' << LanguageString(AppResources::StringID_KilobytesPerSecond);
    return text.str();
}

std::wstring NameText(const KavennaEngine::DownloadItemHandle& item) {
    KavennaEngine::ItemLocker locker;
    const boost::shared_ptr<KavennaEngine::IDownloadItem> pItem = item.Lock(locker);
    if (!pItem) {
        ReportItemGone();
        return std::wstring();
    }
    return pItem->GetDownloadStage()->GetDisplayName();
}

std::wstring FileSizeText(const KavennaEngine::DownloadItemHandle& item) {
    std::wstring path;
    {
        KavennaEngine::ItemLocker locker;
        const boost::shared_ptr<KavennaEngine::IDownloadItem> pItem = item.Lock(locker);
        if (!pItem) {
            ReportItemGone();
            return std::wstring();
        }
        path = pItem->GetDownloadStage()->GetFilePath();
    }
    return FormatSize(static_cast<std::uint32_t>(FileSystem::File(path).GetSize()));
}

}  // namespace ItemTexts
