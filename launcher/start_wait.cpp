#include "launcher/start_wait.h"

using Action = StartWait::Action;

bool StartWait::MayStart() const { return !closed_ && !waiting_ && boxes_up_ == 0; }

Action StartWait::Started() { return MayStart() ? OpenNow() : Action{}; }

Action StartWait::DialStarted(Milliseconds now, DialRun run, bool other_dials_watched) {
    if (closed_) return {};
    if (run != 0) dials_[run] = other_dials_watched;
    if (!MayStart()) return {};
    waiting_ = Wait{now, run, run == 0, false};
    return OpenOrTimer(now);
}

Action StartWait::DialEnded(Milliseconds now, DialRun run, std::optional<std::uint32_t> exit_code) {
    const auto found = dials_.find(run);
    if (closed_ || found == dials_.end()) return {};  // let go already
    const bool another_was_dialling = found->second;
    dials_.erase(found);
    const bool failed = exit_code && *exit_code != 0 && !(*exit_code == kAlreadyBeingDialled && another_was_dialling);
    const bool awaited = waiting_ && waiting_->dial == run && !waiting_->dial_ended;
    if (awaited) waiting_->dial_ended = true;
    if (failed) {
        ++boxes_up_;
        if (awaited) waiting_->box_up = true;
        return {Action::Kind::ShowDialFailure};
    }
    return awaited ? OpenOrTimer(now) : Action{};
}

Action StartWait::TimerFired(Milliseconds now) {
    if (closed_ || !waiting_) return {};
    return OpenOrTimer(now);
}

Action StartWait::BoxClosed(Milliseconds now, DialRun run) {
    if (boxes_up_ > 0) --boxes_up_;
    if (closed_ || !waiting_ || waiting_->dial != run || !waiting_->box_up) return {};
    waiting_->box_up = false;
    return OpenOrTimer(now);
}

void StartWait::VpnCleared() {
    waiting_.reset();
    dials_.clear();
}

void StartWait::Closed() {
    closed_ = true;
    waiting_.reset();
    dials_.clear();
}

void StartWait::Abandoned() { waiting_.reset(); }

Action StartWait::OpenOrTimer(Milliseconds now) {
    const Wait& wait = *waiting_;
    if (wait.box_up) return {};  // the open follows the box
    const Milliseconds waited = now >= wait.began ? now - wait.began : 0;
    // At the minute a dial still running is left to run, watched: its failure is reported when it ends.
    if (waited >= longest_wait_ || (wait.dial_ended && waited >= least_wait_)) return OpenNow();
    const Milliseconds next = wait.dial_ended || waited < least_wait_ ? least_wait_ : longest_wait_;
    return {Action::Kind::SetTimer, next - waited};
}

Action StartWait::OpenNow() {
    waiting_.reset();
    return {Action::Kind::OpenNow};
}
