#pragma once
// How much of the current thread's stack is still free: for the recursions the data can make deep
// (a formula that reads another formula...), which stop with a message before the stack runs out.
#include <cstddef>

// Bytes left below the caller's frame; SIZE_MAX when the thread's stack cannot be known.
std::size_t AfxStackRemaining();
