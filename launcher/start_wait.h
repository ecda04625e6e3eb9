#pragma once
// When "Start" opens Kavlo.rdp: at once without a dial; with one, once the dial has ended but never sooner than a
// second after it began (the route may take that long to follow the connection), and at the latest a minute after
// it began, whatever the dial does. A failed dial's box comes first and the open follows it. Clearing "VPN" and
// closing the launcher end the wait without an open.
//
// Events go in, each giving back what the launcher is to do; times are milliseconds on one steady clock. Pure: no
// Windows header.
#include <cstdint>
#include <map>
#include <optional>

class StartWait {
public:
    using Milliseconds = std::uint64_t;
    // A dial as the process watch numbers it; 0 for a dial that is not watched (nothing real was started).
    using DialRun = std::uint64_t;

    static constexpr Milliseconds kLeastWait = 1000;
    static constexpr Milliseconds kLongestWait = 60000;

    // rasdial's exit code for a second dial while another is still dialling: no failure of the connection.
    static constexpr std::uint32_t kAlreadyBeingDialled = 756;

    struct Action {
        enum class Kind { Nothing, OpenNow, SetTimer, ShowDialFailure };
        Kind kind = Kind::Nothing;
        Milliseconds timer = 0;  // SetTimer: fire once after this long

        friend bool operator==(const Action&, const Action&) = default;
    };

    explicit StartWait(Milliseconds least_wait = kLeastWait, Milliseconds longest_wait = kLongestWait)
        : least_wait_(least_wait), longest_wait_(longest_wait) {}

    // Whether "Start" is taken now: not while a start waits, nor while a dial's failure box is up, nor after the
    // close.
    bool MayStart() const;
    // "Start" without the VPN: open at once.
    Action Started();
    // "Start" dialled `run` at `now`; `other_dials_watched`: an earlier dial was still being watched then, so that a
    // refusal of this one as a second dial (756) is no failure.
    Action DialStarted(Milliseconds now, DialRun run, bool other_dials_watched);
    // A watched dial ended with `exit_code`, or was let go without one (nothing). ShowDialFailure is to be answered
    // with BoxClosed for the same run once the user has closed the box.
    Action DialEnded(Milliseconds now, DialRun run, std::optional<std::uint32_t> exit_code);
    Action TimerFired(Milliseconds now);
    Action BoxClosed(Milliseconds now, DialRun run);
    // The dials are let go: the one waited for ends without an open, and none of them is reported any more.
    void VpnCleared();
    // The launcher closed: nothing is opened or reported after this.
    void Closed();
    // The timer could not be set: the wait is given up without an open.
    void Abandoned();

    // Whether a start waits to open Kavlo.rdp (the taskbar and the pointer show it).
    bool Waiting() const { return waiting_.has_value(); }

private:
    struct Wait {
        Milliseconds began = 0;
        DialRun dial = 0;
        bool dial_ended = false;
        bool box_up = false;  // the dial's failure box: the open follows it
    };
    // The open once the wait's conditions are met; else the timer for the next moment that may meet them.
    Action OpenOrTimer(Milliseconds now);
    Action OpenNow();

    Milliseconds least_wait_;
    Milliseconds longest_wait_;
    std::optional<Wait> waiting_;
    std::map<DialRun, bool> dials_;  // the dials watched: whether another was watched as each began
    int boxes_up_ = 0;
    bool closed_ = false;
};
