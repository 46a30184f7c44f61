#include "core/LogMaintenance.h"

#include <climits>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <utility>
#include <vector>

#include "core/DUVMain.h"
#include "core/LineReader.h"
#include "core/LogFile.h"
#include "core/MessageBox.h"
#include "core/OpenFiles.h"
#include "core/Runtime.h"
#include "core/RuntimeError.h"
#include "core/UserFeedback.h"

namespace LogMaintenance {
namespace {

constexpr int kInputFileNumber = 1;
constexpr std::size_t kBlockSize = 1u << 20;

int ClampPercent(double value) {
    if (!(value < static_cast<double>(INT_MAX)))
        return INT_MAX;  // NaN and beyond
    return static_cast<int>(value);
}

bool KeptByte(unsigned char byte) {
    return (byte >= 32 && byte <= 126) || byte == 10 || byte == 13;
}

bool HasDigit(std::string_view text) {
    for (char c : text)
        if (c >= '0' && c <= '9')
            return true;
    return false;
}

bool Contains(std::string_view line, const std::string& keyword) {
    return line.find(keyword) != std::string_view::npos;
}

// Opens a file as the numbered input of a rewrite; nothing when it cannot be opened.
std::unique_ptr<NumberedFile> OpenInput(const std::string& path) {
    try {
        CloseAllFiles();
        return std::make_unique<NumberedFile>(kInputFileNumber, path, NumberedFile::Mode::Read);
    } catch (const runtime::RuntimeError&) {
        return nullptr;
    }
}

// Calls progress only when the percent changed.
struct PercentShown {
    const Progress& progress;
    int last = INT_MIN;
    void operator()(int percent) {
        if (percent == last || !progress)
            return;
        last = percent;
        progress(percent);
    }
};

const std::string kFailureLines =
    "\n\nPlease try again later after shutting down and\nre-starting your computer.\n\n"
    "Note that if you are currently connected and\non-line then you should NOT be using DUV now.";

}  // namespace

std::string InProgramFolder(const char* name) {
#ifdef _WIN32
    return DUVMain::AppPath + "\\" + name;
#else
    return DUVMain::AppPath + "/" + name;  // the portable tests run on POSIX folders
#endif
}

std::string WorkJournal(const std::string& workName) {
    return InProgramFolder((workName + ".wrk").c_str());
}

RewriteResult RewriteLines(const std::string& source, const std::string& target,
                           const std::string& backup, const std::string& workName,
                           const LineFilter& filter, const LineCounter& counter) {
    RewriteResult result;
    std::unique_ptr<NumberedFile> input = OpenInput(source);
    if (!input) {
        result.ReadFailed = true;
        return result;
    }
    safe_write::Writer writer(target, backup, workName, WorkJournal(workName));
    LineReader reader;
    reader.Attach(input->Stream(),
                  static_cast<std::uint64_t>(std::max<std::int64_t>(0, FileLengthOf(source))));
    std::string_view line;
    std::string changed;
    while (writer.Good() && reader.Next(line)) {
        ++result.LinesRead;
        Keep keep = filter(line, changed);
        if (keep != Keep::Drop) {
            writer.Write(keep == Keep::AsRead ? line : std::string_view(changed));
            writer.Write("\r\n");
            ++result.LinesKept;
        }
        if (counter)
            counter(result.LinesRead, line.size());
    }
    result.ReadFailed = std::ferror(input->Stream()) != 0;
    input->Close();
    if (result.ReadFailed)
        return result;  // the writer, dropped, removes its work file
    result.Write = writer.Commit();
    return result;
}

RewriteResult FilterDamagedBytes(const std::string& log, const std::string& workFile,
                                 const Progress& progress) {
    RewriteResult result;
    const std::int64_t length = FileLengthOf(log);
    std::unique_ptr<NumberedFile> input = length < 0 ? nullptr : OpenInput(log);
    if (!input) {
        result.ReadFailed = true;
        return result;
    }
    const std::int64_t step = static_cast<std::int64_t>(std::nearbyint(length / 100.0));
    safe_write::Writer writer(workFile, {}, {}, WorkJournal(kRepairBytesFile));
    std::vector<unsigned char> block(kBlockSize);
    std::string kept;
    kept.reserve(kBlockSize);
    std::int64_t position = 0;
    while (writer.Good()) {
        std::size_t got = std::fread(block.data(), 1, block.size(), input->Stream());
        if (got == 0)
            break;
        kept.clear();
        for (std::size_t i = 0; i < got; ++i) {
            if (KeptByte(block[i]))
                kept.push_back(static_cast<char>(block[i]));
            std::int64_t k = position + static_cast<std::int64_t>(i) + 1;
            if (step > 0 && k % step == 0 && progress)
                progress(ClampPercent(std::nearbyint(static_cast<double>(k) / length * 100)));
        }
        position += static_cast<std::int64_t>(got);
        writer.Write(kept);
    }
    result.ReadFailed = std::ferror(input->Stream()) != 0;
    input->Close();
    if (result.ReadFailed)
        return result;
    result.Write = writer.Commit();
    return result;
}

RewriteResult KeepDatedLines(const std::string& workFile, const std::string& log,
                             const std::string& backup, std::int64_t logLength,
                             const Progress& progress) {
    PercentShown shown{progress};
    std::uint64_t bytes = 0;
    return RewriteLines(
        workFile, log, backup, kRepairWorkFile,
        [](std::string_view line, std::string&) {
            bool blank = line.find_first_not_of(' ') == std::string_view::npos;
            return blank || DUVMain::GetLogLineDate(line) == 0 ? Keep::Drop : Keep::AsRead;
        },
        [&](std::uint64_t, std::size_t lineLength) {
            // A line counts with a CR LF ending: one that ended in a lone LF or CR takes the
            // figure past 100.
            bytes += lineLength + 2;
            shown(RoundedPercent(static_cast<double>(bytes), static_cast<double>(logLength)));
        });
}

RewriteResult RepairLog(const RepairView& view) {
    auto show = [&](std::string (*text)(int)) {
        return [&view, text](int percent) {
            if (view.SetLabel)
                view.SetLabel(text(percent));
            if (percent <= 100 && view.SetProgress)
                view.SetProgress(percent);
            LetEventsRun();
        };
    };
    auto recordLength = [] {
        std::int64_t length = FileLengthOf(DUVMain::LogFilePath);
        if (length >= 0 && length <= INT32_MAX)
            DUVMain::LogLength = static_cast<std::int32_t>(length);
        return length;
    };
    const std::string fx1 = InProgramFolder(kRepairBytesFile);
    RewriteResult result;
    ShowBusy(true);
    try {
        recordLength();
        if (view.SetLabel)
            view.SetLabel(kReadingLogText);
        LetEventsRun();
        result = FilterDamagedBytes(DUVMain::LogFilePath, fx1, show(&RepairingText));
        CloseAllFiles();
        if (result) {
            std::int64_t length = recordLength();
            result = KeepDatedLines(fx1, DUVMain::LogFilePath, InProgramFolder(kLogBackup), length,
                                    show(&CheckingText));
        }
    } catch (const runtime::RuntimeError& error) {
        // Raised before the swap: the writer, dropped, has removed its work file.
        CloseAllFiles();
        result = {};
        result.RunTimeError = error.number;
    }
    if (result) {
        DUVMain::LogCorrupt = false;
        if (view.SetProgress)
            view.SetProgress(100);
    }
    ShowBusy(false);
    return result;
}

RewriteResult PurgeLines(const std::string& log, const std::string& backup, double from, double to,
                         double lineCount, const Progress& progress) {
    PercentShown shown{progress};
    return RewriteLines(
        log, log, backup, kPurgeWorkFile,
        [from, to](std::string_view line, std::string&) {
            double date = DUVMain::GetLogLineDate(line);
            return date != 0 && (date < from || date > to) ? Keep::AsRead : Keep::Drop;
        },
        [&](std::uint64_t lines, std::size_t) {
            shown(WholePercent(static_cast<double>(lines), lineCount));
        });
}

Keywords CurrentKeywords() {
    return {DUVMain::ModemDial,           DUVMain::ModemAnswer,         DUVMain::ModemConnect,
            DUVMain::ModemUserDisconnect, DUVMain::ModemHostDisconnect, DUVMain::ModemReads,
            DUVMain::ModemWrites};
}

bool KeepOptimized(std::string_view line, const Keywords& k) {
    if (line.empty())
        return false;
    if (Contains(line, k.Dial))
        return line.size() > 25 && HasDigit(line.substr(25));
    return Contains(line, k.Answer) || Contains(line, k.Connect) ||
           Contains(line, k.UserDisconnect) || Contains(line, k.HostDisconnect) ||
           Contains(line, k.Reads) || Contains(line, k.Writes);
}

RewriteResult OptimizeLines(const std::string& log, const std::string& backup,
                            const Keywords& keywords, double lineCount, const Progress& progress) {
    PercentShown shown{progress};
    return RewriteLines(
        log, log, backup, kOptimizeWorkFile,
        [&keywords](std::string_view line, std::string& upper) {
            upper = runtime::UCase(line);
            return KeepOptimized(upper, keywords) ? Keep::Changed : Keep::Drop;
        },
        [&](std::uint64_t lines, std::size_t) {
            shown(WholePercent(static_cast<double>(lines), lineCount));
        });
}

namespace {

MainWindowProgress& Main() {
    static MainWindowProgress progress;
    return progress;
}

}  // namespace

MainWindowProgress SetMainWindowProgress(MainWindowProgress progress) {
    return std::exchange(Main(), std::move(progress));
}

bool RunInMainWindow(const std::function<RewriteResult(const Progress&)>& rewrite,
                     std::string (*text)(int percent), const std::string& finishedText,
                     const std::string& failedTitle, const std::string& failedText) {
    const MainWindowProgress& main = Main();
    auto status = [&](const std::string& line) {
        if (main.SetStatusText)
            main.SetStatusText(line);
    };
    main.Bar.Visible(true);
    bool rewritten = false;
    try {
        rewritten = static_cast<bool>(rewrite([&](int percent) {
            status(text(percent));
            if (percent <= 100)
                main.Bar.Percent(percent);
            LetEventsRun();
        }));
    } catch (const runtime::RuntimeError&) {
        rewritten = false;
    }
    if (!rewritten)
        ShowMessage(failedText, msg::OkOnly, failedTitle);
    CloseAllFiles();
    main.Bar.Visible(false);
    status(rewritten ? finishedText : failedTitle);
    if (!rewritten)
        ShowBusy(false);
    return rewritten;
}

int RoundedPercent(double part, double whole) {
    if (whole <= 0)
        return 100;
    return ClampPercent(std::nearbyint(part / whole * 100));
}

int WholePercent(double part, double whole) {
    if (whole <= 0)
        return 100;
    return ClampPercent(std::floor(part / whole * 100));
}

std::string RepairingText(int percent) {
    return "Repairing Modem Log......... " + runtime::Str(percent) + "%";
}
std::string CheckingText(int percent) {
    return "Checking Entries......... " + runtime::Str(percent) + "%";
}
std::string PurgingText(int percent) {
    return "Please Wait .....Purging  " + std::to_string(percent) + "%";
}
std::string OptimizingText(int percent) {
    return "Please Wait .....Optimizing  " + std::to_string(percent) + "%";
}

std::string RepairFailedText(const RewriteResult& result) {
    std::string text = "DUV was unable to repair your modem log file!\n\n";
    text += result.Write.originalInPlace
                ? "Your modem log has not been changed."
                : "Your modem log is kept as " + InProgramFolder(kLogBackup) + ".";
    return text + kFailureLines;
}
std::string PurgeFailedText() {
    return "DUV was unable to purge your modem log file!" + kFailureLines;
}
std::string OptimizeFailedText() {
    return "DUV was unable to optimize your modem log file!" + kFailureLines;
}

}  // namespace LogMaintenance
