#include "platform/plvnamesolver/FunctionWrapper.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>
#include <unordered_map>

#include "platform/plvnamesolver/ApplicationContext.h"

namespace plv::ui {

// What a caller waits on. A UI thread waits on its own queue so that it keeps running the
// calls other threads send it while it waits for theirs.
struct Waiter
{
	std::mutex m;
	std::condition_variable cv;
};

struct PendingCall
{
	HWND hWnd = nullptr;
	std::function<void()> run;
	std::shared_ptr<Waiter> waiter;
	bool done = false;         // guarded by waiter->m
	std::exception_ptr error;  // guarded by waiter->m
};

struct ThreadQueue : Waiter
{
	std::thread::id owner;
	// Guarded by m.
	std::deque<std::shared_ptr<PendingCall>> tasks;
	HWND hMainWnd = nullptr;
	bool quit = false;
};

}  // namespace plv::ui

using plv::ui::PendingCall;
using plv::ui::ThreadQueue;
using plv::ui::Waiter;

namespace {

const char* const kInvalidHandle = "Invalid window handle";

// Live windows and the queue of the thread owning each. Lock order: registry, then a queue.
struct Registry
{
	std::mutex m;
	std::unordered_map<HWND, std::shared_ptr<ThreadQueue>> windows;
};

Registry& GetRegistry()
{
	static Registry* registry = new Registry;  // outlives threads still running at exit
	return *registry;
}

thread_local std::shared_ptr<ThreadQueue> t_pQueue;

HWND NewHandle()
{
	// Never reused, so a stale handle can never name a later window.
	static std::atomic<std::uintptr_t> s_next{0};
	return reinterpret_cast<HWND>((0x1000 + ++s_next) * alignof(HWND__));
}

void Complete(const std::shared_ptr<PendingCall>& call, std::exception_ptr error)
{
	{
		std::lock_guard lock(call->waiter->m);
		call->done = true;
		call->error = std::move(error);
	}
	call->waiter->cv.notify_all();
}

void Execute(const std::shared_ptr<PendingCall>& call)
{
	std::exception_ptr error;
	try
	{
		call->run();
	}
	catch (...)
	{
		error = std::current_exception();
	}
	Complete(call, std::move(error));
}

std::shared_ptr<PendingCall> PopFront(ThreadQueue& q)
{
	auto task = std::move(q.tasks.front());
	q.tasks.pop_front();
	return task;
}

std::exception_ptr WaitFor(PendingCall& call)
{
	ThreadQueue* own = t_pQueue.get();
	const bool pump = own && own == call.waiter.get();
	std::unique_lock lock(call.waiter->m);
	while (!call.done)
	{
		if (pump && !own->tasks.empty())
		{
			auto task = PopFront(*own);
			lock.unlock();
			Execute(task);
			lock.lock();
			continue;
		}
		call.waiter->cv.wait(lock);
	}
	// Taken out so that only the caller holds the exception when it is rethrown and freed.
	return std::move(call.error);
}

}  // namespace

void AfxWaitRunningCalls(const std::function<bool()>& done)
{
	ThreadQueue* own = t_pQueue.get();
	while (!done())
	{
		if (!own)
		{
			std::this_thread::sleep_for(std::chrono::milliseconds(2));
			continue;
		}
		std::unique_lock lock(own->m);
		if (own->tasks.empty())
		{
			own->cv.wait_for(lock, std::chrono::milliseconds(5));
			continue;
		}
		auto task = PopFront(*own);
		lock.unlock();
		Execute(task);
	}
}

HWND AfxGetThreadMainWnd()
{
	if (!t_pQueue)
		return nullptr;
	std::lock_guard lock(t_pQueue->m);
	return t_pQueue->hMainWnd;
}

BOOL AfxIsWindowOfCurrentThread(HWND hWnd)
{
	Registry& reg = GetRegistry();
	std::lock_guard lock(reg.m);
	auto it = reg.windows.find(hWnd);
	return it != reg.windows.end() && it->second->owner == std::this_thread::get_id() ? TRUE : FALSE;
}

BOOL IsWindow(HWND hWnd)
{
	Registry& reg = GetRegistry();
	std::lock_guard lock(reg.m);
	return hWnd && reg.windows.count(hWnd) ? TRUE : FALSE;
}

BOOL DestroyWindow(HWND hWnd)
{
	Registry& reg = GetRegistry();
	std::shared_ptr<ThreadQueue> q;
	std::deque<std::shared_ptr<PendingCall>> orphans;
	{
		std::lock_guard regLock(reg.m);
		auto it = reg.windows.find(hWnd);
		if (it == reg.windows.end())
			return FALSE;
		q = std::move(it->second);
		reg.windows.erase(it);

		std::lock_guard queueLock(q->m);
		if (q->hMainWnd == hWnd)
			q->hMainWnd = nullptr;
		std::deque<std::shared_ptr<PendingCall>> kept;
		for (auto& task : q->tasks)
			(task->hWnd == hWnd ? orphans : kept).push_back(std::move(task));
		q->tasks.swap(kept);
	}
	q->cv.notify_all();  // a loop running for this window returns
	for (auto& call : orphans)
		Complete(call, std::make_exception_ptr(CApplicationErrorException(kInvalidHandle)));
	return TRUE;
}

// ---------------------------------------------------------------------------------------------
CUiThread::CUiThread()
{
	if (t_pQueue)
		throw CApplicationErrorException("The thread already runs a user-interface loop");
	m_pQueue = std::make_shared<ThreadQueue>();
	m_pQueue->owner = std::this_thread::get_id();
	t_pQueue = m_pQueue;
	CreateMainWindow();
}

CUiThread::~CUiThread()
{
	if (HWND hWnd = GetMainWnd())
		DestroyWindow(hWnd);
	if (t_pQueue == m_pQueue)
		t_pQueue.reset();
}

void CUiThread::CheckThread(const char* method) const
{
	if (m_pQueue->owner != std::this_thread::get_id())
		throw CApplicationErrorException(CString(method) + ": the user-interface loop belongs to another thread");
}

HWND CUiThread::CreateMainWindow()
{
	CheckThread("CUiThread::CreateMainWindow");
	if (HWND hWnd = GetMainWnd())
		return hWnd;
	HWND hWnd = NewHandle();
	Registry& reg = GetRegistry();
	std::lock_guard regLock(reg.m);
	std::lock_guard queueLock(m_pQueue->m);
	reg.windows.emplace(hWnd, m_pQueue);
	m_pQueue->hMainWnd = hWnd;
	return hWnd;
}

HWND CUiThread::GetMainWnd() const
{
	std::lock_guard lock(m_pQueue->m);
	return m_pQueue->hMainWnd;
}

int CUiThread::PumpPending()
{
	CheckThread("CUiThread::PumpPending");
	ThreadQueue& q = *m_pQueue;
	std::size_t queued;
	{
		std::lock_guard lock(q.m);
		queued = q.tasks.size();
	}
	int ran = 0;
	// Only what was there on entry: a busy sender must not keep the caller here for ever.
	for (; static_cast<std::size_t>(ran) < queued; ++ran)
	{
		std::shared_ptr<PendingCall> task;
		{
			std::lock_guard lock(q.m);
			if (q.tasks.empty())
				break;  // a nested pump ran them
			task = PopFront(q);
		}
		Execute(task);
	}
	return ran;
}

bool CUiThread::RunUntil(const std::function<bool()>& pred)
{
	CheckThread("CUiThread::RunUntil");
	ThreadQueue& q = *m_pQueue;
	for (;;)
	{
		if (pred && pred())
			return true;
		std::shared_ptr<PendingCall> task;
		{
			std::unique_lock lock(q.m);
			if (q.tasks.empty() && !q.quit && q.hMainWnd)
				q.cv.wait(lock);
			if (q.quit)
			{
				q.quit = false;
				return false;
			}
			if (q.tasks.empty())
			{
				if (!q.hMainWnd)
					return false;
				continue;  // woken for another reason: check pred again
			}
			task = PopFront(q);
		}
		Execute(task);
	}
}

void CUiThread::Quit()
{
	{
		std::lock_guard lock(m_pQueue->m);
		m_pQueue->quit = true;
	}
	m_pQueue->cv.notify_all();
}

bool CUiThread::WaitForTask(std::chrono::milliseconds timeout)
{
	CheckThread("CUiThread::WaitForTask");
	std::unique_lock lock(m_pQueue->m);
	return m_pQueue->cv.wait_for(lock, timeout, [this] { return !m_pQueue->tasks.empty(); });
}

std::size_t CUiThread::PendingCount() const
{
	std::lock_guard lock(m_pQueue->m);
	return m_pQueue->tasks.size();
}

// ---------------------------------------------------------------------------------------------
CBaseFunctionWrapper::CBaseFunctionWrapper(HWND hWnd) : m_hWnd(hWnd) {}

CBaseFunctionWrapper::~CBaseFunctionWrapper()
{
	if (m_pPending)
	{
		bool bCallFinished;
		{
			std::lock_guard lock(m_pPending->waiter->m);
			bCallFinished = m_pPending->done;
		}
		// Too late: the derived part the call works on is gone already.
		ASSERT_RELEASE_TRACE(bCallFinished, "CBaseFunctionWrapper::~CBaseFunctionWrapper", __FILE__);
		WaitQuietly();
	}
}

void CBaseFunctionWrapper::Call(bool bAsync)
{
	if (m_pPending)
		throw CApplicationErrorException("The previous asynchronous call has not been waited for");
	if (!m_hWnd)
	{
		OnCall();
		return;
	}

	auto call = std::make_shared<PendingCall>();
	call->hWnd = m_hWnd;
	call->run = [this] { OnCall(); };
	call->waiter = t_pQueue ? std::shared_ptr<Waiter>(t_pQueue) : std::make_shared<Waiter>();
	// Set before the call can start: OnCall may look at this wrapper. A synchronous call never
	// sets it, so OnCall can call the same wrapper again.
	if (bAsync)
		m_pPending = call;

	std::shared_ptr<ThreadQueue> target;
	{
		Registry& reg = GetRegistry();
		std::lock_guard regLock(reg.m);
		auto it = reg.windows.find(m_hWnd);
		if (it == reg.windows.end())
		{
			m_pPending.reset();
			throw CApplicationErrorException(kInvalidHandle);
		}
		// The owner runs it here: queueing would wait on itself.
		if (it->second->owner != std::this_thread::get_id())
		{
			target = it->second;
			std::lock_guard queueLock(target->m);
			target->tasks.push_back(call);
		}
	}
	if (!target)
	{
		m_pPending.reset();
		OnCall();
		return;
	}
	target->cv.notify_all();

	if (!bAsync)
	{
		if (std::exception_ptr error = WaitFor(*call))
			std::rethrow_exception(error);
	}
}

void CBaseFunctionWrapper::Wait()
{
	if (!m_pPending)
		return;
	auto call = std::move(m_pPending);
	m_pPending.reset();
	if (std::exception_ptr error = WaitFor(*call))
		std::rethrow_exception(error);
}

void CBaseFunctionWrapper::WaitQuietly() noexcept
{
	try
	{
		Wait();
	}
	catch (...)
	{
		// The outcome of a call nobody collected has no one to go to.
	}
}
