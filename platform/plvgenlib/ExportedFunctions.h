#pragma once
// The frame of the functions a library exports to reports. Each export does its work on the
// thread that owns the window handle it is given:
//
//     PLV_EXPORT long __Kvz_CPianoBaseDoc_Run(HWND hWnd)
//     {
//         return AfxRunDocumentExport(hWnd, &__Kvz_CPianoBaseDoc_Run, _T("KvzNet.KvzMod.KvzDocuments.DPianoBase"));
//     }
//     PLV_EXPORT bool __Kvz_CPianoBaseDoc_Dispose(HWND hWnd, long hDocument)
//     {
//         return AfxDisposeDocumentExport(hWnd, &__Kvz_CPianoBaseDoc_Dispose, hDocument);
//     }
//     PLV_EXPORT bool __BDStampaRiclassificatoDoc_Kvz_GetNextModelloPerStampa(HWND hWnd, CObject* pContext,
//                                                                            int nIdx, BSTR* pModello, BSTR* pDescri)
//     {
//         return AfxCallMemberExport(hWnd, pContext, &BDStampaRiclassificatoDoc::Kvz_GetNextModelloPerStampa,
//                                    nIdx, pModello, pDescri);
//     }
//
// Plain interchange values: int for DataInt, DataLng and DataEnum (the whole value), double for
// DataDbl and its kinds (DataMon, DataPerc, DataQty), bool for DataBool, a BSTR for DataStr and
// DataDate. A by-reference data object crosses as a pointer to its plain value.
#include <functional>
#include <tuple>
#include <type_traits>
#include <utility>

#include "platform/plvgeneric/DataObj.h"
#include "platform/plvgeneric/FunctionWrappers.h"
#include "platform/plvgenlib/CBaseDocument.h"
#include "platform/plvgenlib/LibraryEntry.h"
#include "platform/plvnamesolver/ApplicationContext.h"

namespace plv::exports {

template <class D>
using PlainOf = std::conditional_t<
	std::is_base_of_v<DataStr, D> || std::is_base_of_v<DataDate, D>, BSTR,
	std::conditional_t<std::is_base_of_v<DataDbl, D>, double, std::conditional_t<std::is_base_of_v<DataBool, D>, bool, int>>>;

// A member's parameter written back to the caller: a non-const reference.
template <class P>
inline constexpr bool IsOut = std::is_lvalue_reference_v<P> && !std::is_const_v<std::remove_reference_t<P>>;

template <class P>
using ArgOf = std::conditional_t<IsOut<P>, PlainOf<std::remove_cvref_t<P>>*, PlainOf<std::remove_cvref_t<P>>>;

inline SoapValue ToSoap(int v) { return SoapValue(std::in_place_type<int>, v); }
inline SoapValue ToSoap(double v) { return SoapValue(std::in_place_type<double>, v); }
inline SoapValue ToSoap(bool v) { return SoapValue(std::in_place_type<bool>, v); }
inline SoapValue ToSoap(BSTR v) { return SoapValue(std::in_place_type<CString>, CString(v ? v : "")); }

// The plain value of a data object; a string is newly allocated for the receiver.
template <class P>
P FromSoap(const SoapValue& v)
{
	if constexpr (std::is_same_v<P, BSTR>)
	{
		if (auto p = std::get_if<CString>(&v))
			return SysAllocString(p->GetString());
		return SysAllocString("");
	}
	else
		return std::visit(
			[](const auto& x) -> P {
				using X = std::decay_t<decltype(x)>;
				if constexpr (std::is_arithmetic_v<X>)
					return static_cast<P>(x);
				else
					return P{};
			},
			v);
}

template <class D>
void MakeEmpty(D& obj)
{
	obj.Clear();
	if constexpr (std::is_base_of_v<DataStr, D>)
		obj.SetCollateCultureSensitive(true);
}

template <class D, class A>
void Load(D& obj, A arg)
{
	MakeEmpty(obj);
	if constexpr (std::is_pointer_v<A> && !std::is_same_v<A, BSTR>)
		obj.SetSoapValue(ToSoap(*arg));
	else
		obj.SetSoapValue(ToSoap(arg));
}

template <class D, class A>
void WriteBack(const D& obj, A arg)
{
	if constexpr (std::is_same_v<A, BSTR*>)
	{
		SysFreeString(*arg);
		*arg = FromSoap<BSTR>(obj.GetSoapValue());
	}
	else if constexpr (std::is_pointer_v<A>)
		*arg = FromSoap<std::remove_pointer_t<A>>(obj.GetSoapValue());
}

template <class P, class D>
auto Bind(D& obj)
{
	if constexpr (IsOut<P>)
		return std::ref(obj);
	else if constexpr (std::is_reference_v<P>)
		return std::cref(obj);
	else
		return obj;
}

// Work of an export done on the window's thread.
class CWindowThreadCall : public CBaseFunctionWrapper
{
public:
	CWindowThreadCall(HWND hWnd, std::function<void()> work) : CBaseFunctionWrapper(hWnd), m_Work(std::move(work)) {}
	~CWindowThreadCall() override { WaitQuietly(); }

protected:
	void OnCall() override { m_Work(); }

private:
	std::function<void()> m_Work;
};

}  // namespace plv::exports

// A member export: converts the plain arguments to data objects, checks that the context is a
// live document of the member's class (otherwise CApplicationErrorException "Invalid context
// object: <class>", with nothing written back), calls the member on the window's thread, writes
// every by-reference argument back (a string: the old one freed, a new one given) and returns
// the result's plain value (a string result is the caller's to free).
template <class Doc, class R, class... Params, class... Args>
plv::exports::PlainOf<R> AfxCallMemberExport(HWND hWnd, CObject* pContext, R (Doc::*pfnMember)(Params...),
											 Args... args)
{
	using namespace plv::exports;
	static_assert(sizeof...(Params) == sizeof...(Args), "one plain argument per parameter of the member");
	static_assert((std::is_same_v<Args, ArgOf<Params>> && ...), "plain argument of the wrong type");

	R result;
	MakeEmpty(result);
	std::tuple<std::remove_cvref_t<Params>...> objects;
	const std::tuple<Args...> plain(args...);
	auto each = [&]<std::size_t... I>(std::index_sequence<I...>, auto&& fn) { (fn(std::get<I>(objects), std::get<I>(plain)), ...); };
	each(std::index_sequence_for<Params...>{}, [](auto& obj, auto arg) { Load(obj, arg); });

	auto isLive = [pContext](bool bOnWindowThread) {
		return pContext && AfxExistWebServiceStateObject(pContext) &&
			   (!bOnWindowThread || pContext->IsKindOf(RUNTIME_CLASS(Doc)));
	};
	const CString invalid = CString("Invalid context object: ") + RUNTIME_CLASS(Doc)->m_lpszClassName;
	if (!isLive(false))
		throw CApplicationErrorException(invalid);

	// Checked again where the member runs: the window's thread may have closed the document.
	auto call = [&]<std::size_t... I>(std::index_sequence<I...>) {
		if (!isLive(true))
			throw CApplicationErrorException(invalid);
		CFunctionT<Doc, R, Params...> wrapper(hWnd, static_cast<Doc*>(pContext), pfnMember,
											  Bind<Params>(std::get<I>(objects))...);
		wrapper.Call(false);
		result = wrapper.GetResult();
	};
	CWindowThreadCall(hWnd, [&] { call(std::index_sequence_for<Params...>{}); }).Call(false);

	each(std::index_sequence_for<Params...>{}, [](auto& obj, auto arg) { WriteBack(obj, arg); });
	return FromSoap<PlainOf<R>>(result.GetSoapValue());
}

// A _Run export: on the window's thread (directly when the caller owns the window or none is
// given, otherwise by running pfnSelf there) opens the namespace in the view "Default"; the
// document as its handle, 0 when none opened.
inline long AfxRunDocumentExport(HWND hWnd, long (*pfnSelf)(HWND), LPCTSTR lpszNamespace)
{
	if (hWnd && !AfxIsWindowOfCurrentThread(hWnd))
	{
		CGlobalFunctionT_Param1<long, HWND> call(hWnd, pfnSelf, hWnd);
		call.Call(false);
		return call.GetResult();
	}
	CPlvCommandInterface* pCmd = AfxGetPlvCmdManager();
	return pCmd ? reinterpret_cast<long>(pCmd->RunDocument(lpszNamespace, _T("Default"))) : 0;
}

// A _Dispose export: closes a live framework document, whichever export opened it; false for a
// handle that names none.
inline bool AfxDisposeDocumentExport(HWND hWnd, bool (*pfnSelf)(HWND, long), long hDocument)
{
	if (hWnd && !AfxIsWindowOfCurrentThread(hWnd))
	{
		CGlobalFunctionT_Param2<bool, HWND, long> call(hWnd, pfnSelf, hWnd, hDocument);
		call.Call(false);
		return call.GetResult();
	}
	auto* pObject = reinterpret_cast<CObject*>(hDocument);
	if (!AfxExistWebServiceStateObject(pObject) || !pObject->IsKindOf(RUNTIME_CLASS(CBaseDocument)))
		return false;
	static_cast<CBaseDocument*>(pObject)->CloseDocument(TRUE);
	return true;
}
