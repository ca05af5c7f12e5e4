#pragma once
// Work that must run on the thread owning a window (the user-interface thread): a thread
// turns itself into a UI thread with CUiThread, other threads hand it calls through
// CBaseFunctionWrapper and wait for them.
#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>

#include "platform/mfc/AfxTypes.h"

namespace plv::ui {
struct ThreadQueue;
struct PendingCall;
}  // namespace plv::ui

// The main window of the calling thread; null when the thread owns none.
HWND AfxGetThreadMainWnd();
inline HWND GetThreadMainWnd() { return AfxGetThreadMainWnd(); }
// TRUE when the calling thread owns the window: a call for it runs here directly.
BOOL AfxIsWindowOfCurrentThread(HWND hWnd);
// TRUE while hWnd names a window that has not been destroyed.
BOOL IsWindow(HWND hWnd);
// Any thread may destroy a window; calls still queued for it fail with "Invalid window handle".
BOOL DestroyWindow(HWND hWnd);
// Waits until done() holds; a UI thread meanwhile runs the calls queued for it, so a worker it
// waits for may call back into it. done() is checked at least every few milliseconds.
void AfxWaitRunningCalls(const std::function<bool()>& done);

// Makes the constructing thread a UI thread with a main window and a task queue.
// Everything but Quit() belongs to that thread.
class CUiThread
{
public:
	CUiThread();   // throws CApplicationErrorException when the thread already is a UI thread
	~CUiThread();  // destroys the main window
	CUiThread(const CUiThread&) = delete;
	CUiThread& operator=(const CUiThread&) = delete;

	// The live main window, a new one when there is none (never made or destroyed).
	HWND CreateMainWindow();
	HWND GetMainWnd() const;

	// Runs the tasks already queued, not those posted meanwhile; returns how many ran.
	int PumpPending();
	// Runs tasks until pred() holds (TRUE), Quit() is called or the main window is gone (FALSE).
	// pred is checked before waiting and after every task.
	bool RunUntil(const std::function<bool()>& pred);
	void Run() { RunUntil(nullptr); }
	// Any thread: the running loop returns after its current task. Consumed by that return;
	// a Quit before the loop starts makes it return at once.
	void Quit();

	// Waits without running anything until a task is queued; FALSE on timeout.
	bool WaitForTask(std::chrono::milliseconds timeout);
	std::size_t PendingCount() const;

private:
	void CheckThread(const char* method) const;

	std::shared_ptr<plv::ui::ThreadQueue> m_pQueue;
};

// A call to run on the thread that owns a window. Derived classes hold the arguments and the
// result; OnCall does the work.
class CBaseFunctionWrapper
{
public:
	explicit CBaseFunctionWrapper(HWND hWnd);
	// An asynchronous call still pending is waited for; derived classes must Wait() in their
	// own destructor since their members go first.
	virtual ~CBaseFunctionWrapper();
	CBaseFunctionWrapper(const CBaseFunctionWrapper&) = delete;
	CBaseFunctionWrapper& operator=(const CBaseFunctionWrapper&) = delete;

	// Runs OnCall on the window's thread: directly when the caller owns the window (or it is
	// null), otherwise queued there while the caller waits (a UI thread keeps running its own
	// queue meanwhile, so two UI threads calling each other do not lock up). What OnCall throws
	// is rethrown here. bAsync returns without waiting: Wait() collects the outcome, and must
	// come before the next Call.
	void Call(bool bAsync = false);
	// Ends an asynchronous call: waits for it and rethrows its exception. No-op when none.
	void Wait();
	bool IsPending() const { return m_pPending != nullptr; }
	HWND GetWnd() const { return m_hWnd; }

protected:
	virtual void OnCall() = 0;
	// For destructors: waits, swallowing the outcome.
	void WaitQuietly() noexcept;

private:
	HWND m_hWnd;
	std::shared_ptr<plv::ui::PendingCall> m_pPending;
};
