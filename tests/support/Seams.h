// Replacing a seam in a test. A guard installs the replacement and puts back what was there
// when it goes out of scope, also when a failed ASSERT leaves the test early, so no
// replacement over a finished test's locals stays installed for the next one.
#pragma once

#include <functional>
#include <type_traits>
#include <utility>

namespace test_support {

// A seam installed by a setter that returns what it replaces (the program's convention):
//   ScopedSeam clock(clock_seam::SetNow, [] { return day; });
template <class Previous>
class ScopedSeam {
public:
    template <class Setter, class Value>
    ScopedSeam(Setter setter, Value&& value)
        : restore_([setter](Previous previous) { setter(std::move(previous)); }),
          previous_(setter(std::forward<Value>(value))) {}
    ~ScopedSeam() { restore_(std::move(previous_)); }
    ScopedSeam(const ScopedSeam&) = delete;
    ScopedSeam& operator=(const ScopedSeam&) = delete;

private:
    std::function<void(Previous)> restore_;
    Previous previous_;
};

template <class Setter, class Value>
ScopedSeam(Setter, Value&&) -> ScopedSeam<std::invoke_result_t<Setter, Value>>;

// A seam held in a plain variable (the analysis run's Window, Pricing, ReportWindowCalls).
template <class T>
class ScopedValue {
public:
    ScopedValue(T& target, T value)
        : target_(target), previous_(std::exchange(target, std::move(value))) {}
    ~ScopedValue() { target_ = std::move(previous_); }
    ScopedValue(const ScopedValue&) = delete;
    ScopedValue& operator=(const ScopedValue&) = delete;

private:
    T& target_;
    T previous_;
};

// Runs an undo step (unregistering what a test registered) when the scope ends.
class OnScopeExit {
public:
    explicit OnScopeExit(std::function<void()> undo) : undo_(std::move(undo)) {}
    ~OnScopeExit() {
        if (undo_)
            undo_();
    }
    OnScopeExit(const OnScopeExit&) = delete;
    OnScopeExit& operator=(const OnScopeExit&) = delete;

private:
    std::function<void()> undo_;
};

}  // namespace test_support
