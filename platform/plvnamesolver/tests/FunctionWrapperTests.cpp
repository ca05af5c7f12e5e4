#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <future>
#include <stdexcept>
#include <string>
#include <thread>
#include <typeinfo>
#include <vector>

#include "platform/plvnamesolver/ApplicationContext.h"
#include "platform/plvnamesolver/FunctionWrapper.h"

namespace {

// Only reached when something is broken; a working run never waits this long.
constexpr std::chrono::milliseconds kPatience{5000};

class CLambdaCall : public CBaseFunctionWrapper
{
public:
	CLambdaCall(HWND hWnd, std::function<void()> fn) : CBaseFunctionWrapper(hWnd), m_fn(std::move(fn)) {}
	~CLambdaCall() override { WaitQuietly(); }

protected:
	void OnCall() override { m_fn(); }

private:
	std::function<void()> m_fn;
};

// Runs `work` on a new thread while this thread runs its loop; the loop ends with the work.
void RunOnWorker(CUiThread& ui, const std::function<void()>& work)
{
	std::thread worker([&] {
		work();
		ui.Quit();
	});
	ui.Run();
	worker.join();
}

// The exception's dynamic type and text, as seen by whoever catches it.
std::string Caught(const std::function<void()>& fn)
{
	try
	{
		fn();
	}
	catch (const std::exception& e)
	{
		return std::string(typeid(e).name()) + ": " + e.what();
	}
	return "nothing thrown";
}

const std::string kInvalidHandle = std::string(typeid(CApplicationErrorException).name()) + ": Invalid window handle";

}  // namespace

TEST(UiThread, OwnsAMainWindowUntilDestroyed)
{
	EXPECT_EQ(AfxGetThreadMainWnd(), nullptr);
	HWND hWnd;
	{
		CUiThread ui;
		hWnd = ui.GetMainWnd();
		EXPECT_NE(hWnd, nullptr);
		EXPECT_EQ(AfxGetThreadMainWnd(), hWnd);
		EXPECT_TRUE(IsWindow(hWnd));
		EXPECT_THROW(CUiThread second, CApplicationErrorException);

		std::thread([&] { EXPECT_EQ(AfxGetThreadMainWnd(), nullptr); }).join();

		EXPECT_TRUE(DestroyWindow(hWnd));
		EXPECT_FALSE(DestroyWindow(hWnd));
		EXPECT_EQ(AfxGetThreadMainWnd(), nullptr);
		EXPECT_FALSE(ui.RunUntil(nullptr));  // nothing left to run for

		HWND hNew = ui.CreateMainWindow();
		EXPECT_NE(hNew, hWnd);  // handles are never reused
		EXPECT_EQ(ui.CreateMainWindow(), hNew);
		EXPECT_FALSE(IsWindow(hWnd));
		hWnd = hNew;
	}
	EXPECT_FALSE(IsWindow(hWnd));
	EXPECT_EQ(AfxGetThreadMainWnd(), nullptr);
	EXPECT_FALSE(IsWindow(nullptr));
}

TEST(FunctionWrapper, OwnerThreadAndNullWindowRunInline)
{
	CUiThread ui;
	HWND hWnd = ui.GetMainWnd();

	std::atomic<bool> queuedRan{false};
	CLambdaCall queued(hWnd, [&] { queuedRan = true; });
	std::thread sender([&] { queued.Call(); });
	ASSERT_TRUE(ui.WaitForTask(kPatience));

	// Queued, it would have run behind the call already waiting.
	bool sawQueuedRun = true;
	std::thread::id ranOn;
	CLambdaCall direct(hWnd, [&] {
		sawQueuedRun = queuedRan;
		ranOn = std::this_thread::get_id();
	});
	direct.Call();
	EXPECT_FALSE(sawQueuedRun);
	EXPECT_EQ(ranOn, std::this_thread::get_id());

	EXPECT_EQ(ui.PumpPending(), 1);
	sender.join();
	EXPECT_TRUE(queuedRan);
	EXPECT_EQ(ui.PendingCount(), 0u);

	std::thread::id workerId, nullRanOn;
	std::thread([&] {
		workerId = std::this_thread::get_id();
		CLambdaCall call(nullptr, [&] { nullRanOn = std::this_thread::get_id(); });
		call.Call();
	}).join();
	EXPECT_EQ(nullRanOn, workerId);
}

TEST(FunctionWrapper, CallFromAnotherThreadRunsOnTheUiThreadAndWaits)
{
	CUiThread ui;
	std::thread::id senderId, ranOn;
	int value = 0, seenBySender = 0;
	CLambdaCall call(ui.GetMainWnd(), [&] {
		ranOn = std::this_thread::get_id();
		value = 42;
	});
	RunOnWorker(ui, [&] {
		senderId = std::this_thread::get_id();
		call.Call();
		seenBySender = value;
	});
	EXPECT_EQ(ranOn, std::this_thread::get_id());
	EXPECT_NE(senderId, ranOn);
	EXPECT_EQ(seenBySender, 42);
}

TEST(FunctionWrapper, ExceptionsCrossBackToTheCaller)
{
	const std::vector<std::function<void()>> throwers = {
		[] { throw CApplicationErrorException("Period closed"); },
		[] { throw CInvalidArgException("Unknown account"); },
		[] { throw std::runtime_error("Disk full"); },
		[] { throw std::out_of_range("Month 13"); },
	};
	CUiThread ui;
	std::vector<std::string> direct, crossed;
	for (auto& thrower : throwers)
	{
		CLambdaCall call(ui.GetMainWnd(), thrower);
		direct.push_back(Caught([&] { call.Call(); }));
	}
	RunOnWorker(ui, [&] {
		for (auto& thrower : throwers)
		{
			CLambdaCall call(ui.GetMainWnd(), thrower);
			crossed.push_back(Caught([&] { call.Call(); }));
		}
	});
	EXPECT_EQ(crossed, direct);
	EXPECT_EQ(direct[0], std::string(typeid(CApplicationErrorException).name()) + ": Period closed");
}

TEST(FunctionWrapper, AsynchronousCallReturnsAtOnceAndWaitCollectsTheOutcome)
{
	CUiThread ui;
	std::atomic<bool> ran{false};
	CLambdaCall call(ui.GetMainWnd(), [&] {
		ran = true;
		throw CApplicationErrorException("Rejected");
	});
	std::promise<bool> returned;
	std::string outcome, callAgain;
	std::thread sender([&] {
		call.Call(true);
		returned.set_value(ran);
		callAgain = Caught([&] { call.Call(); });
		outcome = Caught([&] { call.Wait(); });
	});
	ASSERT_TRUE(ui.WaitForTask(kPatience));
	auto returnedFuture = returned.get_future();
	ASSERT_EQ(returnedFuture.wait_for(kPatience), std::future_status::ready);  // before anything ran here
	EXPECT_FALSE(returnedFuture.get());
	EXPECT_EQ(ui.PumpPending(), 1);
	sender.join();
	EXPECT_EQ(outcome, std::string(typeid(CApplicationErrorException).name()) + ": Rejected");
	EXPECT_NE(callAgain.find("has not been waited for"), std::string::npos) << callAgain;
}

TEST(FunctionWrapper, ReentrantCallsOnTheUiThreadRunDirectly)
{
	CUiThread ui;
	const auto uiId = std::this_thread::get_id();
	constexpr int kDepth = 50;
	int reached = 0;
	bool allOnUi = true;
	// The wrapper calls itself again from inside its own call.
	CLambdaCall* pSelf = nullptr;
	CLambdaCall self(ui.GetMainWnd(), [&] {
		allOnUi = allOnUi && std::this_thread::get_id() == uiId;
		if (++reached < kDepth)
			pSelf->Call();
	});
	pSelf = &self;
	int reachedWhenReturned = 0;
	RunOnWorker(ui, [&] {
		self.Call();
		reachedWhenReturned = reached;
	});
	EXPECT_EQ(reachedWhenReturned, kDepth);
	EXPECT_TRUE(allOnUi);
}

TEST(FunctionWrapper, TwoUiThreadsCallingEachOtherDoNotLockUp)
{
	CUiThread ui;
	HWND hMain = ui.GetMainWnd();
	std::thread::id otherId, innerRanOn;
	RunOnWorker(ui, [&] {
		CUiThread otherUi;
		otherId = std::this_thread::get_id();
		HWND hOther = otherUi.GetMainWnd();
		// Runs on the main thread and calls back into this one, which is waiting for it.
		CLambdaCall outer(hMain, [&] {
			CLambdaCall inner(hOther, [&] { innerRanOn = std::this_thread::get_id(); });
			inner.Call();
		});
		outer.Call();
	});
	EXPECT_EQ(innerRanOn, otherId);
}

TEST(FunctionWrapper, DestroyedWindowFailsCallsWithoutHanging)
{
	// The owning thread ends while a call waits for it.
	std::promise<HWND> published;
	std::thread owner([&] {
		CUiThread ui;
		published.set_value(ui.GetMainWnd());
		EXPECT_TRUE(ui.WaitForTask(kPatience));
	});
	HWND hGone = published.get_future().get();
	bool ran = false;
	CLambdaCall call(hGone, [&] { ran = true; });
	EXPECT_EQ(Caught([&] { call.Call(); }), kInvalidHandle);
	owner.join();
	EXPECT_EQ(Caught([&] { call.Call(); }), kInvalidHandle);  // the handle stays invalid
	EXPECT_FALSE(ran);

	// Destroyed from another thread while a call waits for it.
	CUiThread ui;
	HWND hWnd = ui.GetMainWnd();
	CLambdaCall pending(hWnd, [&] { ran = true; });
	std::string outcome;
	std::thread sender([&] { outcome = Caught([&] { pending.Call(); }); });
	ASSERT_TRUE(ui.WaitForTask(kPatience));
	std::thread([&] { EXPECT_TRUE(DestroyWindow(hWnd)); }).join();
	sender.join();
	EXPECT_EQ(outcome, kInvalidHandle);
	EXPECT_EQ(ui.PumpPending(), 0);
	EXPECT_FALSE(ran);

	// ... and while its loop waits for work: the loop returns.
	HWND hNext = ui.CreateMainWindow();
	std::thread destroyer([&] {
		CLambdaCall ping(hNext, [] {});
		ping.Call();  // the loop is running once this returns
		DestroyWindow(hNext);
	});
	ui.Run();
	destroyer.join();
	EXPECT_FALSE(IsWindow(hNext));
}

TEST(UiThread, QuitAndPredicateEndTheLoop)
{
	CUiThread ui;
	ui.Quit();
	EXPECT_FALSE(ui.RunUntil([] { return false; }));  // a Quit before the loop still ends it

	int calls = 0;
	CLambdaCall call(ui.GetMainWnd(), [&] { ++calls; });
	std::thread sender([&] {
		call.Call();
		call.Call();
	});
	EXPECT_TRUE(ui.RunUntil([&] { return calls == 2; }));
	sender.join();
	EXPECT_EQ(calls, 2);
	std::string foreign;
	std::thread([&] { foreign = Caught([&] { ui.PumpPending(); }); }).join();
	EXPECT_NE(foreign.find("belongs to another thread"), std::string::npos) << foreign;
}
