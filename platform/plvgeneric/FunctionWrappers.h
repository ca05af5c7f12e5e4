#pragma once
// Typed calls for functions exported to reports: a free function or a member function with its
// arguments, run on the thread owning a window; and the strings such functions hand over.
#include <functional>
#include <tuple>
#include <type_traits>
#include <utility>
#include <variant>

#include "platform/plvnamesolver/FunctionWrapper.h"

// Interchange strings: UTF-8, length-prefixed, owned by whoever receives them and freed with
// SysFreeString.
typedef char* BSTR;

BSTR SysAllocString(const char* psz);  // null gives null
// len bytes of pch (zeros when pch is null), plus a terminating zero.
BSTR SysAllocStringLen(const char* pch, unsigned len);
void SysFreeString(BSTR bstr);        // null-safe
unsigned SysStringLen(BSTR bstr);     // 0 for null
// Strings allocated and not yet freed, to prove that nothing leaks; strings freed so far, to
// prove that a string handed back replaced the one given.
long SysStringsAlive();
long SysStringsFreed();

namespace plv::ui {

// By-value arguments are copied into the call; by-reference arguments refer to the caller's
// object, which must be an lvalue outliving the call (temporaries are refused).
template <class A>
struct ArgTraits
{
	static_assert(!std::is_rvalue_reference_v<A>, "rvalue-reference parameters cannot be replayed");
	using Stored = std::remove_cv_t<A>;
	using Param = A;
};
template <class A>
struct ArgTraits<A&>
{
	using Stored = A&;
	using Param = std::reference_wrapper<A>;
};

template <class R>
using ResultOf = std::conditional_t<std::is_void_v<R>, std::monostate, std::remove_cvref_t<R>>;

// Holds the arguments and the result; the derived OnCall hands its invoker to Run.
template <class R, class... Args>
class CTypedFunctionWrapper : public CBaseFunctionWrapper
{
public:
	using Result = ResultOf<R>;

	// Empty until a call has run.
	const Result& GetResult() const
		requires(!std::is_void_v<R>)
	{
		return m_Result;
	}

protected:
	template <class... Given>
	explicit CTypedFunctionWrapper(HWND hWnd, Given&&... args)
		: CBaseFunctionWrapper(hWnd), m_Args(std::forward<Given>(args)...)
	{
	}

	template <class F>
	void Run(F&& invoke)
	{
		if constexpr (std::is_void_v<R>)
			std::apply(invoke, m_Args);
		else
			m_Result = std::apply(invoke, m_Args);
	}

private:
	std::tuple<typename ArgTraits<Args>::Stored...> m_Args;
	Result m_Result{};
};

}  // namespace plv::ui

// A free function.
template <class R, class... Args>
class CGlobalFunctionT : public plv::ui::CTypedFunctionWrapper<R, Args...>
{
public:
	using Function = R (*)(Args...);

	CGlobalFunctionT(HWND hWnd, Function pfn, typename plv::ui::ArgTraits<Args>::Param... args)
		: plv::ui::CTypedFunctionWrapper<R, Args...>(hWnd, std::forward<decltype(args)>(args)...), m_pfn(pfn)
	{
	}
	~CGlobalFunctionT() override { this->WaitQuietly(); }

protected:
	void OnCall() override
	{
		this->Run([this](auto&... args) -> R { return m_pfn(args...); });
	}

private:
	Function m_pfn;
};

template <class R, class... Args, class... Given>
CGlobalFunctionT(HWND, R (*)(Args...), Given&&...) -> CGlobalFunctionT<R, Args...>;

template <class R, class A1>
using CGlobalFunctionT_Param1 = CGlobalFunctionT<R, A1>;
template <class R, class A1, class A2>
using CGlobalFunctionT_Param2 = CGlobalFunctionT<R, A1, A2>;

// A member function of *pObj; Obj is const for a const member function.
template <class Obj, class R, class... Args>
class CFunctionT : public plv::ui::CTypedFunctionWrapper<R, Args...>
{
public:
	using Method = std::conditional_t<std::is_const_v<Obj>, R (std::remove_const_t<Obj>::*)(Args...) const,
									  R (Obj::*)(Args...)>;

	CFunctionT(HWND hWnd, Obj* pObj, Method pfn, typename plv::ui::ArgTraits<Args>::Param... args)
		: plv::ui::CTypedFunctionWrapper<R, Args...>(hWnd, std::forward<decltype(args)>(args)...),
		  m_pObj(pObj),
		  m_pfn(pfn)
	{
	}
	~CFunctionT() override { this->WaitQuietly(); }

protected:
	void OnCall() override
	{
		this->Run([this](auto&... args) -> R { return (m_pObj->*m_pfn)(args...); });
	}

private:
	Obj* m_pObj;
	Method m_pfn;
};

template <class Obj, class R, class... Args, class... Given>
CFunctionT(HWND, Obj*, R (Obj::*)(Args...), Given&&...) -> CFunctionT<Obj, R, Args...>;
template <class Obj, class R, class... Args, class... Given>
CFunctionT(HWND, const Obj*, R (Obj::*)(Args...) const, Given&&...) -> CFunctionT<const Obj, R, Args...>;

// CFunctionT_ParamN<Obj, R, A1, ..., AN>: a member of N arguments, N from 0 to 36.
#define PLV_FUNCTION_T_PARAM(n)                       \
	template <class Obj, class R, class... Args>      \
		requires(sizeof...(Args) == n)                \
	using CFunctionT_Param##n = CFunctionT<Obj, R, Args...>;
PLV_FUNCTION_T_PARAM(0)
PLV_FUNCTION_T_PARAM(1)
PLV_FUNCTION_T_PARAM(2)
PLV_FUNCTION_T_PARAM(3)
PLV_FUNCTION_T_PARAM(4)
PLV_FUNCTION_T_PARAM(5)
PLV_FUNCTION_T_PARAM(6)
PLV_FUNCTION_T_PARAM(7)
PLV_FUNCTION_T_PARAM(8)
PLV_FUNCTION_T_PARAM(9)
PLV_FUNCTION_T_PARAM(10)
PLV_FUNCTION_T_PARAM(11)
PLV_FUNCTION_T_PARAM(12)
PLV_FUNCTION_T_PARAM(13)
PLV_FUNCTION_T_PARAM(14)
PLV_FUNCTION_T_PARAM(15)
PLV_FUNCTION_T_PARAM(16)
PLV_FUNCTION_T_PARAM(17)
PLV_FUNCTION_T_PARAM(18)
PLV_FUNCTION_T_PARAM(19)
PLV_FUNCTION_T_PARAM(20)
PLV_FUNCTION_T_PARAM(21)
PLV_FUNCTION_T_PARAM(22)
PLV_FUNCTION_T_PARAM(23)
PLV_FUNCTION_T_PARAM(24)
PLV_FUNCTION_T_PARAM(25)
PLV_FUNCTION_T_PARAM(26)
PLV_FUNCTION_T_PARAM(27)
PLV_FUNCTION_T_PARAM(28)
PLV_FUNCTION_T_PARAM(29)
PLV_FUNCTION_T_PARAM(30)
PLV_FUNCTION_T_PARAM(31)
PLV_FUNCTION_T_PARAM(32)
PLV_FUNCTION_T_PARAM(33)
PLV_FUNCTION_T_PARAM(34)
PLV_FUNCTION_T_PARAM(35)
PLV_FUNCTION_T_PARAM(36)
#undef PLV_FUNCTION_T_PARAM
