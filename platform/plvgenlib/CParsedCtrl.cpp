#include "platform/plvgenlib/CParsedCtrl.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>

#include "platform/plvgenlib/CParsedForm.h"
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
	default: return {};
	}
}

bool ParseInteger(CString text, long long& out)
{
	return ReadInteger(text, DATA_LNG_TYPE, out).empty();
}

bool ParseBool(CString text, bool& out)
{
	text.Trim();
	CString t = text;
	t.MakeLower();
	if (t == "1" || t == "true" || t == "si" || t == "sì" || t == "x" || t == "s")
		out = true;
	else if (t.IsEmpty() || t == "0" || t == "false" || t == "no" || t == "n")
		out = false;
	else
		return false;
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
		return TRUE;
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
		const std::string why = TypedProblem(strText, pValue->GetDataType());
		return Refuse(CString::Formatted("%s: \"%s\" %s.", m_strName.GetString(), strText.GetString(),
										 why.empty() ? "is not a value of the control" : why.c_str()));
	}
	if (m_pHotKeyLink && !m_pHotKeyLink->ValidateValue(pValue.get()))
	{
		// A refused value stays out of the data, as a form moves the focus back to the control;
		// the lookup goes back to the row of the value kept.
		CString text = m_pHotKeyLink->GetErrorString();
		m_pHotKeyLink->FindRecord(m_pData);
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
	return CParsedCtrl::ParseText(strText, value) && IsValidItemListBox(value);
}

BOOL CBoolButton::UserInput(const CString& strText)
{
	bool b = false;
	if (!ParseBool(strText, b))
		return Refuse(CString::Formatted("%s: \"%s\" is not yes or no.", m_strName.GetString(), strText.GetString()));
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
