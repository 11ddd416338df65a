#pragma once
// The texts and values a download row shows of its engine item: sizes,
// times, the progress percentage, the download information of column 2, the
// transfer speed, the name and the finished file's size.
//
//   std::wstring info = ItemTexts::DownloadInfoText(row.GetItem());
//
// Each value is read from the item under its own lock period, released
// before the next, so a text combining several values may mix moments of
// the transfer. An item that can no longer be locked is reported as the
// error "((_$_pengItem))" and reads as 0 (a text reads as empty). The
// progress event reads what it shows in one lock period instead
// (ReadProgressValues) and makes its texts from those values.
//
// Thread: the GUI thread (the per-thread item lock allows one item at a time).
#include "engine/KavennaEngine.h"

#include <cstdint>
#include <string>

// "1024 Bytes", "1 Kilobytes", "3.0 Megabytes" (units from the language).
std::wstring FormatSize(std::uint32_t bytes);
// "hh:mm:ss"; whole days are not shown (hours modulo 24).
std::wstring FormatTime(std::uint32_t seconds);

namespace ItemTexts {

// Reports the failed lock of a row's item at error severity.
void ReportItemGone();

// What a progress event shows of its item.
struct ProgressValues {
    std::uint32_t received = 0;  // bytes
    std::uint32_t total = 0;
    std::uint32_t position = 0;  // whole seconds
    std::uint32_t duration = 0;
    int stage = 0;
    std::wstring name;  // the download stage's display name
};
// All of them in one lock period; false, with nothing reported, when the
// item is gone.
bool ReadProgressValues(const KavennaEngine::DownloadItemHandle& item, ProgressValues& values);

// Engine values; positions and durations in whole seconds.
std::uint32_t ReceivedBytes(const KavennaEngine::DownloadItemHandle& item);
std::uint32_t TotalBytes(const KavennaEngine::DownloadItemHandle& item);
std::uint32_t PositionSeconds(const KavennaEngine::DownloadItemHandle& item);
std::uint32_t DurationSeconds(const KavennaEngine::DownloadItemHandle& item);

// Duration first, then bytes; 0..100.
std::uint32_t ProgressPercent(std::uint32_t position, std::uint32_t duration, std::uint32_t received,
                              std::uint32_t total);
std::uint32_t ProgressPercent(const KavennaEngine::DownloadItemHandle& item);
// True when neither the bytes nor the times give a fraction.
bool IsProgressUnknown(const ProgressValues& values);
bool IsProgressUnknown(const KavennaEngine::DownloadItemHandle& item);

// Both numbers in the unit of the larger: "0.0" `Of` "1.9 Megabytes".
std::wstring SizeProgressText(std::uint32_t received, std::uint32_t total);
std::wstring SizeProgressText(const KavennaEngine::DownloadItemHandle& item);
// `AOfB` with the position and the duration.
std::wstring TimeProgressText(std::uint32_t position, std::uint32_t duration);
std::wstring TimeProgressText(const KavennaEngine::DownloadItemHandle& item);
// FormatTime of min(position, duration).
std::wstring PositionText(const KavennaEngine::DownloadItemHandle& item);
std::wstring DurationText(const KavennaEngine::DownloadItemHandle& item);
// Column 2 while the item downloads or converts; every non-empty text
// begins with one space.
std::wstring DownloadInfoText(const ProgressValues& values);
std::wstring DownloadInfoText(const KavennaEngine::DownloadItemHandle& item);

// What the speed text remembers between calls (the row's fields).
struct SpeedState {
    double average = 0.0;      // kilobytes per second
    std::uint32_t lastTick = 0;  // tick of the last shown rate
    double lastRate = 0.0;
};
// The average transfer rate, renewed at most every 2000 ms of the stage's
// ticks; empty while the stage has no transfer start.
std::wstring SpeedText(const KavennaEngine::DownloadItemHandle& item, SpeedState& state);

// The download stage's display name; empty when the item is gone.
std::wstring NameText(const KavennaEngine::DownloadItemHandle& item);
// FormatSize of the finished file's size (low 32 bits); a missing file is 0.
std::wstring FileSizeText(const KavennaEngine::DownloadItemHandle& item);

}  // namespace ItemTexts
