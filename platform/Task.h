#pragma once

#include <QCoro/QCoroTask>

// A procedure of the window that waits (for work beside the window, for the user to answer a
// dialog) is a coroutine: it suspends at `co_await` and is resumed later on the window's thread,
// from the window's one event loop, which is never entered a second time. A task starts at once
// and runs until it first has to wait; awaiting one that has finished goes straight on, so with
// services that answer at once (the test doubles) a procedure runs to its end in one call.
// A task nobody awaits goes on by itself until it ends.
//
// Take coroutine parameters by value (or refer to objects that outlive the procedure): a
// reference to the caller's temporary dangles once the procedure first waits. And mind a fault of
// GCC 12: in a co_await expression, a temporary that is a lambda or a brace-initialised aggregate
// is destroyed twice. Lambdas there capture by reference only; awaiters and arguments with
// resources of their own are built by constructors or named beforehand.
template <typename T = void> using Task = QCoro::Task<T>;
