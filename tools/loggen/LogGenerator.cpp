#include "tools/loggen/LogGenerator.h"

#include <array>
#include <cstdio>
#include <string>

namespace loggen {
namespace {

// splitmix64: the same sequence on every platform and standard library.
class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    std::uint64_t Next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // 0 to n - 1
    int Below(int n) {
        return n <= 0 ? 0 : static_cast<int>(Next() % static_cast<std::uint64_t>(n));
    }
    bool Chance(int perMille) { return Below(1000) < perMille; }

private:
    std::uint64_t state_;
};

bool IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysIn(int y, int m) {
    static constexpr std::array<int, 12> days{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeap(y) ? 29 : days[static_cast<std::size_t>(m - 1)];
}

constexpr std::array<const char*, 6> kNumbers{"0123456",    "08450801234", "9,0845123456",
                                              "0198765432", "01632960123", "0800,555,0199"};

class Writer {
public:
    Writer(const Options& o, std::ostream& out) : o_(o), out_(out), rnd_(o.seed) {}

    std::uint64_t Run() {
        int y = o_.year, m = o_.month, d = o_.day;
        for (int n = 0; n < o_.days || (o_.minLines > 0 && lines_ < o_.minLines); ++n) {
            Day(y, m, d);
            if (++d > DaysIn(y, m)) {
                d = 1;
                if (++m > 12) {
                    m = 1;
                    ++y;
                }
            }
        }
        return lines_;
    }

private:
    void Line(const std::string& message) {
        int h = clock_ / 360000, mi = clock_ / 6000 % 60, s = clock_ / 100 % 60, cs = clock_ % 100;
        char stamp[40];
        std::snprintf(stamp, sizeof stamp, "%02d-%02d-%04d %02d:%02d:%02d.%02d - ", month_, day_,
                      year_, h, mi, s, cs);
        std::string text = stamp + message;
        if (o_.damagePerMille > 0 && rnd_.Chance(o_.damagePerMille)) {
            std::size_t at = static_cast<std::size_t>(rnd_.Below(static_cast<int>(text.size())));
            static constexpr std::array<char, 4> bad{'\x01', '\x1a', '\x7f', '\xe9'};
            text[at] = bad[static_cast<std::size_t>(rnd_.Below(4))];
        }
        out_ << text << "\r\n";
        ++lines_;
    }

    void Tick(int maxHundredths) { Advance(1 + rnd_.Below(maxHundredths)); }
    void Advance(int hundredths) {
        clock_ += hundredths;
        if (clock_ >= 8640000)
            NextDay();
    }
    // A session running past midnight carries on into the next calendar day.
    void NextDay() {
        clock_ -= 8640000;
        if (++day_ > DaysIn(year_, month_)) {
            day_ = 1;
            if (++month_ > 12) {
                month_ = 1;
                ++year_;
            }
        }
        carried_ = true;
    }

    void Opening() {
        Line("Standard Modem in use.");
        Tick(5);
        Line("Modem type: Standard Modem");
        Line("Modem inf path: MDMGEN.INF");
        Line("Modem inf section: Gen");
        Tick(20);
        Line("115200,N,8,1");
        Tick(20);
        Line("Initializing modem.");
        Line("Send: AT<cr>");
        Tick(10);
        Line("Recv: AT<cr>");
        Line("Recv: <cr><lf>OK<cr><lf>");
        Line("Interpreted response: Ok");
        Line("Send: AT &F E0 V1 &D2 &C1 S0=0<cr>");
        Tick(10);
        Line("Recv: <cr><lf>OK<cr><lf>");
        Line("Interpreted response: Ok");
        Line("Send: ATS7=60L0M1\\N3%C1&K3B0N1X4<cr>");
        Tick(10);
        Line("Recv: <cr><lf>OK<cr><lf>");
        Line("Interpreted response: Ok");
    }

    void Closing(bool remote) {
        if (remote) {
            Line("Recv: <cr><lf>NO CARRIER<cr><lf>");
            Line("Interpreted response: No Carrier");
            Line("Remote modem hung up.");
        } else {
            Line("Hanging up the modem.");
            Line("Hardware hangup by lowering DTR.");
            Tick(90);
            Line("Recv: <cr><lf>NO CARRIER<cr><lf>");
            Line("Interpreted response: No Carrier");
        }
        Line("Send: ATH<cr>");
        Tick(10);
        Line("Recv: ATH<cr>");
        Line("Recv: <cr><lf>OK<cr><lf>");
        Line("Interpreted response: Ok");
        Tick(200);
        Line("115200,N,8,1");
    }

    void Statistics(int reads, int writes) {
        Tick(300);
        Line("Session Statistics:");
        Line("               Reads : " + std::to_string(reads) + " bytes");
        Line("               Writes: " + std::to_string(writes) + " bytes");
    }

    void Connected(int seconds, bool remote, bool missingDisconnect) {
        int speed = 28800 + 2400 * rnd_.Below(12);
        Line("Recv: <cr><lf>CONNECT " + std::to_string(speed) + "<cr><lf>");
        Line("Interpreted response: Connect");
        Line("Connection established at " + std::to_string(speed) + "bps.");
        Line("Error-control on.");
        Line("Data compression on.");
        Advance(seconds * 100);
        if (missingDisconnect)
            return;
        Closing(remote);
        int reads = rnd_.Below(40) == 0 ? 0 : seconds * (200 + rnd_.Below(3000));
        Statistics(reads, reads / (8 + rnd_.Below(20)));
    }

    void Dialled() {
        const char* number =
            kNumbers[static_cast<std::size_t>(rnd_.Below(static_cast<int>(kNumbers.size())))];
        Opening();
        Tick(30);
        Line("Dialing.");
        // A few drivers echo the dial command without the dial-mode letter.
        std::string mode = rnd_.Below(50) == 0 ? "" : (rnd_.Below(8) == 0 ? "P" : "T");
        Line(std::string("Send: ATD") + mode + number + "<cr>");
        Tick(60);
        Line(std::string("Recv: ATD") + mode + number + "<cr>");
        Advance(1500 + rnd_.Below(2500));
        int kind = rnd_.Below(100);
        if (kind < 8) {  // busy
            Line("Recv: <cr><lf>BUSY<cr><lf>");
            Line("Interpreted response: Busy");
            Line("Hanging up the modem.");
            Line("Hardware hangup by lowering DTR.");
            Tick(100);
            Line("Recv: <cr><lf>OK<cr><lf>");
            Line("Interpreted response: Ok");
            return;
        }
        int seconds = rnd_.Below(10) == 0 ? 3600 + rnd_.Below(4 * 3600) : 30 + rnd_.Below(2400);
        Connected(seconds, kind < 30, kind >= 97);
    }

    void Answered() {
        Opening();
        Line("Recv: <cr><lf>RING<cr><lf>");
        Line("Interpreted response: Ring");
        Tick(300);
        Line("Answering the call.");
        Line("Send: ATA<cr>");
        Advance(1000 + rnd_.Below(1000));
        Connected(60 + rnd_.Below(1200), rnd_.Below(2) == 0, false);
    }

    void Day(int y, int m, int d) {
        if (carried_ && (y < year_ || (y == year_ && (m < month_ || (m == month_ && d < day_)))))
            return;  // a session already ran into this day and filled it
        if (!carried_ || y != year_ || m != month_ || d != day_)
            clock_ = 0;
        year_ = y, month_ = m, day_ = d;
        carried_ = false;
        int sessions = rnd_.Below(7);
        for (int i = 0; i < sessions; ++i) {
            int gap = (8640000 - clock_) / (sessions - i + 1);
            if (gap <= 0)
                break;
            Advance(rnd_.Below(gap));
            if (carried_)
                break;
            if (rnd_.Below(20) == 0)
                out_ << "\r\n";  // the driver leaves blank lines now and then
            if (rnd_.Below(10) == 0)
                Answered();
            else
                Dialled();
            if (carried_)
                break;
        }
    }

    const Options& o_;
    std::ostream& out_;
    Random rnd_;
    std::uint64_t lines_ = 0;
    int year_ = 0, month_ = 0, day_ = 0;
    int clock_ = 0;  // hundredths of a second since midnight
    bool carried_ = false;
};

}  // namespace

std::uint64_t Generate(const Options& options, std::ostream& out) {
    return Writer(options, out).Run();
}

}  // namespace loggen
