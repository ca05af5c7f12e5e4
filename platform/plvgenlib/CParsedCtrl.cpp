#include "platform/plvgenlib/CParsedCtrl.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>

#include "platform/plvgenlib/CBaseDocument.h"
#include "platform/plvgenlib/CParsedForm.h"
#include "platform/plvgeneric/EnumTexts.h"
#include "platform/plvgeneric/Interaction.h"
#include "platform/plvgeneric/TypedInput.h"
#include "platform/plvnamesolver/ApplicationContext.h"

namespace {
const DataObj* g_pOldCtrlData = nullptr;

// The readers of typed text; an empty text is zero, or no date.
std::string ReadInteger(const CString& text, WORD type, long long& out)
{
	out = 0;
	if (CString(text).Trim().IsEmpty())
		return {};
	if (type == DATA_INT_TYPE)
		return typed_input::ReadInteger(text.str(), std::numeric_limits<int>::min(), std::numeric_limits<int>::max(), out);
	return typed_input::ReadInteger(text.str(), std::numeric_limits<long>::min(), std::numeric_limits<long>::max(), out);
}

std::string ReadNumber(const CString& text, double& out)
{
	out = 0;
	if (CString(text).Trim().IsEmpty())
		return {};
	return typed_input::ReadNumber(text.str(), out);
}

std::string ReadDate(const CString& text, DataDate& date)
{
	if (CString(text).Trim().IsEmpty())
	{
		date.Clear();
		return {};
	}
	int d = 0, m = 0, y = 0;
	std::string why = typed_input::ReadDate(text.str(), 1800, d, m, y);
	if (why.empty())
		date.SetDate(d, m, y);
	return why;
}

// Why the text is not a value of that type; empty when it is one (or the type has no reader here).
std::string TypedProblem(const CString& text, WORD type)
{
	long long n = 0;
	double d = 0;
	DataDate date;
	switch (type)
	{
	case DATA_INT_TYPE:
	case DATA_LNG_TYPE: return ReadInteger(text, type, n);
	case DATA_DBL_TYPE:
	case DATA_MON_TYPE:
	case DATA_QTY_TYPE:
	case DATA_PERC_TYPE: return ReadNumber(text, d);
	case DATA_DATE_TYPE: return ReadDate(text, date);
	case DATA_BOOL_TYPE:
	{
		bool b = false;
		return typed_input::ReadYesNo(text.str(), b, true);
	}
	default: return {};
	}
}

// Whether an enumeration value is an item of the data's own tag (any item when no text of the
// tag is registered): a value of another tag, or an item that does not exist, would be stored
// as a value no filter by item finds.
bool IsItemOfTag(const DataEnum& value, WORD wTag)
{
	if (wTag && value.GetTagValue() != wTag)
		return false;
	const auto items = AfxGetEnumItems(value.GetTagValue());
	return items.empty() || std::any_of(items.begin(), items.end(), [&](const auto& item) {
			   return item.first == value.GetItemValue();
		   });
}

// The items a control takes, for the message that refuses another value.
std::string ItemsTaken(const std::vector<std::pair<WORD, CString>>& items)
{
	std::string list;
	for (const auto& [wItem, text] : items)
		list += (list.empty() ? "" : ", ") + text.str() + " (" + std::to_string(wItem) + ")";
	return list.empty() ? std::string() : "is not one of its items: " + list;
}

bool ParseInteger(CString text, long long& out)
{
	return ReadInteger(text, DATA_LNG_TYPE, out).empty();
}

bool ParseBool(const CString& text, bool& out)
{
	// A check box also takes the mark of a ticked box.
	if (CString(text).Trim().CompareNoCase("x") == 0)
		out = true;
	else
		return typed_input::ReadYesNo(text.str(), out, true).empty();
	return true;
}
}  // namespace

const DataObj* AfxGetOldCtrlData()
{
	return g_pOldCtrlData;
}

// ---- CParsedCtrl -----------------------------------------------------------------------------

void CParsedCtrl::SetLink(CParsedForm* pForm, UINT nID, const CString& strName, HotKeyLinkObj* pHotKeyLink)
{
	m_pForm = pForm;
	m_nID = nID;
	m_strName = strName;
	m_pHotKeyLink = pHotKeyLink;
}

BOOL CParsedCtrl::Attach(CObject* pBound)
{
	m_pData = DynamicDownCast<DataObj>(pBound);
	return m_pData != nullptr;
}

void CParsedCtrl::ReattachHotKeyLink(HotKeyLinkObj* pHotKeyLink, BOOL)
{
	m_pHotKeyLink = pHotKeyLink;
}

CString CParsedCtrl::GetCtrlText() const
{
	return m_pData ? m_pData->FormatData() : CString();
}

BOOL CParsedCtrl::ParseText(const CString& strText, DataObj& value) const
{
	switch (value.GetDataType())
	{
	case DATA_STR_TYPE:
		// Blanks around a code are none of it: a code of blanks is no code.
		if (value.GetFieldRule().kind == FieldRule::CODE)
			static_cast<DataStr&>(value).Assign(CString(strText).Trim());
		else
			static_cast<DataStr&>(value).Assign(strText);
		return TRUE;
	case DATA_INT_TYPE:
	case DATA_LNG_TYPE:
	{
		long long n = 0;
		if (!ReadInteger(strText, value.GetDataType(), n).empty())
			return FALSE;
		value.SetDataValue(static_cast<std::int64_t>(n));
		return TRUE;
	}
	case DATA_DBL_TYPE:
	case DATA_MON_TYPE:
	case DATA_QTY_TYPE:
	case DATA_PERC_TYPE:
	{
		double d = 0;
		if (!ReadNumber(strText, d).empty())
			return FALSE;
		value.SetDataValue(d);
		return TRUE;
	}
	case DATA_DATE_TYPE:
		return ReadDate(strText, static_cast<DataDate&>(value)).empty();
	case DATA_BOOL_TYPE:
	{
		bool b = false;
		if (!ParseBool(strText, b))
			return FALSE;
		static_cast<DataBool&>(value) = b ? TRUE : FALSE;
		return TRUE;
	}
	case DATA_ENUM_TYPE:
	{
		CString t = strText;
		t.Trim();
		DataEnum& e = static_cast<DataEnum&>(value);
		const WORD wTag = e.GetTagValue();
		unsigned tag = 0, item = 0;
		char tail = 0;
		if (std::sscanf(t.GetString(), "%u:%u%c", &tag, &item, &tail) == 2 && tag <= 0xFFFF && item <= 0xFFFF)
			e = MAKELONG(item, tag);
		else if (t.Left(2).CompareNoCase("0x") == 0)
		{
			char* end = nullptr;
			unsigned long v = std::strtoul(t.GetString() + 2, &end, 16);
			if (!end || *end || t.GetLength() == 2)
				return FALSE;
			e = static_cast<DWORD>(v);
		}
		else
		{
			long long n = 0;
			if (t.IsEmpty() || !ParseInteger(t, n) || n < 0)
				return FALSE;
			// An item number keeps the enumeration's tag.
			e = n <= 0xFFFF ? MAKELONG(static_cast<WORD>(n), e.GetTagValue()) : static_cast<DWORD>(n);
		}
		return IsItemOfTag(e, wTag);
	}
	default:
		return FALSE;
	}
}

BOOL CParsedCtrl::IsEditable() const
{
	if (m_pParentCtrl)
		return m_pParentCtrl->IsChildEditable(this);
	return m_pForm && m_pForm->IsCtrlEditable(this);
}

CString CParsedCtrl::GetDescription() const
{
	return m_pHotKeyLink && m_pData ? m_pHotKeyLink->GetDescriptionOf(*m_pData) : CString();
}

BOOL CParsedCtrl::Refuse(const CString& why)
{
	m_strLastError = why;
	return FALSE;
}

BOOL CParsedCtrl::UserInput(const CString& strText)
{
	m_strLastError.Empty();
	if (!m_pData)
		return Refuse("The control shows no data.");
	if (!IsEditable())
		return Refuse("The control is read-only.");
	std::unique_ptr<DataObj> pValue(m_pData->Clone());
	if (!ParseText(strText, *pValue))
	{
		std::string why = TypedProblem(strText, pValue->GetDataType());
		if (why.empty() && pValue->GetDataType() == DATA_ENUM_TYPE)
		{
			const WORD wTag = static_cast<const DataEnum&>(*m_pData).GetTagValue();
			if (auto* pCombo = DynamicDownCast<CEnumCombo>(this))
			{
				std::vector<std::pair<WORD, CString>> items;
				for (const auto& [dwValue, text] : pCombo->GetItems())
					items.emplace_back(LOWORD(dwValue), text);
				why = ItemsTaken(items);
			}
			else
				why = ItemsTaken(AfxGetEnumItems(wTag));
		}
		return Refuse(CString::Formatted("%s: \"%s\" %s.", m_strName.GetString(), strText.GetString(),
										 why.empty() ? "is not a value of the control" : why.c_str()));
	}
	// Named by its label without the colon that follows it on the form.
	if (const CString why = CheckFieldRule(*pValue, CString(m_strName).TrimRight(':'), true); !why.IsEmpty())
		return Refuse(why);
	if (m_pHotKeyLink && !m_pHotKeyLink->ValidateValue(pValue.get()))
	{
		// A refused value stays out of the data, as a form moves the focus back to the control;
		// the lookup goes back to the row of the value kept.
		CString text = m_pHotKeyLink->GetErrorString();
		const HotKeyLinkObj::AddOnFly added = m_pHotKeyLink->OfferAddOnFly(this, *pValue);
		m_pHotKeyLink->FindRecord(m_pData);
		if (added == HotKeyLinkObj::ADD_OPENED)
			return TRUE;
		AfxMessageBox(text, MB_OK | MB_ICONERROR);
		return Refuse(text);
	}
	return ChangeValue(*pValue);
}

BOOL CParsedCtrl::ChangeValue(const DataObj& newValue)
{
	if (m_pData->GetDataValue() == newValue.GetDataValue())
		return TRUE;
	std::unique_ptr<DataObj> pOld(m_pData->Clone());
	m_pData->Assign(newValue);
	m_pData->SetModified(TRUE);
	if (m_pForm)
		m_pForm->OnCtrlChanged(this);
	const DataObj* pPrevious = g_pOldCtrlData;
	g_pOldCtrlData = pOld.get();
	Notify(EN_VALUE_CHANGED);
	g_pOldCtrlData = pPrevious;
	return TRUE;
}

BOOL CParsedCtrl::UserClick()
{
	return Refuse("The control takes no clicks.");
}

void CParsedCtrl::Notify(UINT nCode)
{
	if (m_pForm)
		m_pForm->Notify(m_nID, nCode);
}

// ---- controls --------------------------------------------------------------------------------

CString CPasswordEdit::GetCtrlText() const
{
	return CString('*', m_pData ? m_pData->FormatData().GetLength() : 0);
}

BOOL CEnumCombo::ParseText(const CString& strText, DataObj& value) const
{
	CString t = strText;
	t.Trim();
	// A search may leave the enumeration out.
	if (t.IsEmpty() && value.GetDataType() == DATA_ENUM_TYPE && m_pForm && m_pForm->GetDocument() &&
		m_pForm->GetDocument()->GetFormMode() == CBaseDocument::FIND)
	{
		static_cast<DataEnum&>(value).SetEmpty();
		return TRUE;
	}
	if (value.GetDataType() == DATA_ENUM_TYPE)
		for (auto& [wItem, text] : AfxGetEnumItems(static_cast<DataEnum&>(value).GetTagValue()))
			if (Utf8CompareNoCase(text.str(), t.str()) == 0)
			{
				static_cast<DataEnum&>(value) = MAKELONG(wItem, static_cast<DataEnum&>(value).GetTagValue());
				return IsValidItemListBox(value);
			}
	return CParsedCtrl::ParseText(strText, value) && IsValidItemListBox(value);
}

std::vector<std::pair<DWORD, CString>> CEnumCombo::GetItems() const
{
	std::vector<std::pair<DWORD, CString>> items;
	auto* pEnum = dynamic_cast<const DataEnum*>(m_pData);
	if (!pEnum)
		return items;
	for (auto& [wItem, text] : AfxGetEnumItems(pEnum->GetTagValue()))
	{
		DataEnum item(pEnum->GetTagValue(), wItem);
		if (IsValidItemListBox(item))
			items.emplace_back(item.GetValue(), text);
	}
	return items;
}

BOOL CBoolButton::UserInput(const CString& strText)
{
	bool b = false;
	if (!ParseBool(strText, b))
		return Refuse(CString::Formatted("%s: \"%s\" %s.", m_strName.GetString(), strText.GetString(),
										 typed_input::ReadYesNo(strText.str(), b).c_str()));
	if (IsRadio())
		return b ? UserClick() : Refuse("A radio button is cleared by choosing another one of its group.");
	return CParsedCtrl::UserInput(b ? "1" : "0");
}

BOOL CBoolButton::UserClick()
{
	m_strLastError.Empty();
	if (!m_pData)
		return Refuse("The control shows no data.");
	if (!IsEditable())
		return Refuse("The control is read-only.");
	if (!IsRadio())
		return ChangeValue(DataBool(!static_cast<DataBool&>(*m_pData)));
	if (static_cast<DataBool&>(*m_pData))
		return TRUE;
	// The group's other buttons clear first, so that every handler sees the final choice.
	std::vector<CBoolButton*> cleared;
	for (CParsedCtrl* p : m_pForm->GetAllControls())
	{
		auto* pButton = DynamicDownCast<CBoolButton>(p);
		if (pButton && pButton != this && pButton->m_nRadioGroup == m_nRadioGroup && pButton->m_pData &&
			static_cast<DataBool&>(*pButton->m_pData))
		{
			static_cast<DataBool&>(*pButton->m_pData) = FALSE;
			pButton->m_pData->SetModified(TRUE);
			cleared.push_back(pButton);
		}
	}
	ChangeValue(DataBool(TRUE));
	DataBool wasSet(TRUE);
	for (CBoolButton* pButton : cleared)
	{
		const DataObj* pPrevious = g_pOldCtrlData;
		g_pOldCtrlData = &wasSet;
		pButton->Notify(EN_VALUE_CHANGED);
		g_pOldCtrlData = pPrevious;
	}
	return TRUE;
}

BOOL CExtButton::Attach(CObject* pBound)
{
	m_pData = DynamicDownCast<DataObj>(pBound);
	return TRUE;
}

BOOL CExtButton::IsEditable() const
{
	if (!m_bEnabled || !m_bVisible || !m_pForm)
		return FALSE;
	if (auto* pFlag = dynamic_cast<const DataBool*>(m_pData); pFlag && !*pFlag)
		return FALSE;
	return m_pForm->IsFormEnabled() && (!m_pForm->GetParentForm() || m_pForm->GetParentForm()->IsFormEnabled());
}

BOOL CExtButton::UserClick()
{
	m_strLastError.Empty();
	if (!IsEditable())
		return Refuse("The button is disabled.");
	Notify(BN_CLICKED);
	return TRUE;
}

// ---- mouse and selection -------------------------------------------------------------------

BOOL CParsedCtrl::UserDoubleClick()
{
	m_strLastError.Empty();
	if (!m_bEnabled || !m_bVisible)
		return Refuse("The control is disabled.");
	OnLButtonDblClk(0, CPoint());
	Notify(EN_DBLCLK);
	return TRUE;
}

BOOL CParsedCtrl::UserButtonUp()
{
	m_strLastError.Empty();
	if (!m_bEnabled || !m_bVisible)
		return Refuse("The control is disabled.");
	OnLButtonUp(0, CPoint());
	Notify(EN_LBUTTONUP);
	return TRUE;
}

void CParsedCtrl::GetSel(int& nStart, int& nEnd) const
{
	// The text may have changed under the selection.
	const int nChars = GetCtrlText().GetCharCount();
	nStart = std::clamp(m_nSelStart, 0, nChars);
	nEnd = std::clamp(m_nSelEnd, nStart, nChars);
}

void CParsedCtrl::SetSel(int nStart, int nEnd)
{
	const int nChars = GetCtrlText().GetCharCount();
	m_nSelStart = std::clamp(nStart, 0, nChars);
	m_nSelEnd = nEnd < 0 ? nChars : std::clamp(nEnd, m_nSelStart, nChars);
}

BOOL CParsedCtrl::ReplaceSel(LPCTSTR szNewText, BOOL bCanUndo)
{
	int nStart = 0, nEnd = 0;
	GetSel(nStart, nEnd);
	const CString text = GetCtrlText();
	const CString put = szNewText ? szNewText : "";
	const CString newText = text.MidChars(0, nStart) + put + text.MidChars(nEnd);
	std::unique_ptr<DataObj> pBefore(m_pData ? m_pData->Clone() : nullptr);
	if (!UserInput(newText))
		return FALSE;
	if (bCanUndo)
		m_pUndo = std::move(pBefore);
	m_nSelStart = m_nSelEnd = nStart + put.GetCharCount();
	return TRUE;
}

BOOL CParsedCtrl::Undo()
{
	if (!m_pUndo)
		return FALSE;
	std::unique_ptr<DataObj> pValue = std::move(m_pUndo);
	return UserInput(pValue->FormatData());
}

// ---- CListBox --------------------------------------------------------------------------------

int CListBox::AddString(LPCTSTR szText)
{
	int nAt = GetCount();
	if (m_bSorted)
	{
		// After the lines that sort before or equal to it, as a sorted list box does.
		nAt = 0;
		while (nAt < GetCount() && Utf8CompareNoCase(m_Lines[static_cast<size_t>(nAt)].text.str(), szText ? szText : "") <= 0)
			++nAt;
	}
	return InsertString(nAt, szText);
}

int CListBox::InsertString(int nIndex, LPCTSTR szText)
{
	if (nIndex < 0 || nIndex > GetCount())
		nIndex = GetCount();
	m_Lines.insert(m_Lines.begin() + nIndex, Line{szText ? szText : "", 0});
	if (m_nCurSel >= nIndex)
		++m_nCurSel;
	return nIndex;
}

int CListBox::DeleteString(UINT nIndex)
{
	const int n = static_cast<int>(nIndex);
	if (n >= GetCount())
		return LB_ERR;
	m_Lines.erase(m_Lines.begin() + n);
	if (m_nCurSel == n)
		m_nCurSel = LB_ERR;
	else if (m_nCurSel > n)
		--m_nCurSel;
	return GetCount();
}

void CListBox::ResetContent()
{
	m_Lines.clear();
	m_nCurSel = LB_ERR;
}

int CListBox::GetText(int nIndex, CString& strText) const
{
	if (nIndex < 0 || nIndex >= GetCount())
		return LB_ERR;
	strText = m_Lines[static_cast<size_t>(nIndex)].text;
	return strText.GetLength();
}

CString CListBox::GetText(int nIndex) const
{
	CString text;
	GetText(nIndex, text);
	return text;
}

int CListBox::FindStringExact(int nStartAfter, LPCTSTR szText) const
{
	// From the line after nStartAfter, round to the top again.
	for (int k = 1; k <= GetCount(); ++k)
	{
		const int i = (std::max(nStartAfter, -1) + k) % GetCount();
		if (Utf8CompareNoCase(m_Lines[static_cast<size_t>(i)].text.str(), szText ? szText : "") == 0)
			return i;
	}
	return LB_ERR;
}

DWORD_PTR CListBox::GetItemData(int nIndex) const
{
	return nIndex >= 0 && nIndex < GetCount() ? m_Lines[static_cast<size_t>(nIndex)].data : 0;
}

int CListBox::SetItemData(int nIndex, DWORD_PTR data)
{
	if (nIndex < 0 || nIndex >= GetCount())
		return LB_ERR;
	m_Lines[static_cast<size_t>(nIndex)].data = data;
	return 0;
}

int CListBox::SetCurSel(int nSelect)
{
	if (nSelect < 0 || nSelect >= GetCount())
	{
		m_nCurSel = LB_ERR;
		return nSelect == -1 ? 0 : LB_ERR;
	}
	m_nCurSel = nSelect;
	return nSelect;
}

CString CListBox::GetCtrlText() const
{
	return GetText(m_nCurSel);
}

BOOL CListBox::IsEditable() const
{
	// Choosing a line changes no data: only the window's and the form's state count.
	if (!m_bEnabled || !m_bVisible || !m_pForm || !m_pForm->IsFormEnabled())
		return FALSE;
	return !m_pForm->GetParentForm() || m_pForm->GetParentForm()->IsFormEnabled();
}

BOOL CListBox::UserInput(const CString& strText)
{
	const int n = FindStringExact(-1, strText);
	if (n == LB_ERR)
		return Refuse("The list has no line \"" + strText + "\".");
	return UserSelect(n);
}

BOOL CListBox::UserSelect(int nIndex)
{
	m_strLastError.Empty();
	if (!IsEditable())
		return Refuse("The list is disabled.");
	if (nIndex < 0 || nIndex >= GetCount())
		return Refuse("The list has no such line.");
	if (nIndex != m_nCurSel)
	{
		m_nCurSel = nIndex;
		Notify(LBN_SELCHANGE);
	}
	return TRUE;
}

BOOL CListBox::UserDoubleClickLine(int nIndex)
{
	// The first click of the two chooses the line.
	if (!UserSelect(nIndex))
		return FALSE;
	OnLButtonDblClk(0, CPoint());
	Notify(LBN_DBLCLK);
	return TRUE;
}

BOOL CListBox::UserRightClick(int nIndex)
{
	if (!UserSelect(nIndex))
		return FALSE;
	OnRButtonDown(0, CPoint());
	Notify(LBN_RBUTTONDOWN);
	return TRUE;
}
