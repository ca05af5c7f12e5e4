#include "platform/plvgenlib/CParsedForm.h"
#include "platform/plvgenlib/EditDistance.h"

#include <algorithm>
#include <cctype>
#include <deque>

#include "platform/plvgenlib/CBaseDocument.h"
#include "platform/plvnamesolver/ApplicationContext.h"

namespace {
// Dialogs are modal on the user-interface thread.
std::deque<DialogAnswer> g_DialogAnswers;
std::vector<CString> g_ShownDialogs;
}  // namespace

CParsedForm::CParsedForm() = default;
CParsedForm::~CParsedForm() = default;

void CParsedForm::BuildForm()
{
	if (m_bBuilt)
		return;
	m_bBuilt = true;
	BuildDataControlLinks();
}

CParsedCtrl* CParsedForm::AddLink(UINT nID, LPCTSTR szName, CRuntimeClass* pCtrlClass, CObject* pBound,
								  HotKeyLinkObj* pHotKeyLink)
{
	CObject* p = pCtrlClass ? pCtrlClass->CreateObject() : nullptr;
	CParsedCtrl* pCtrl = DynamicDownCast<CParsedCtrl>(p);
	if (!pCtrl)
	{
		delete p;
		ASSERT_RELEASE_FAILED("pCtrl", "CParsedForm::AddLink", "CParsedForm");
		return nullptr;
	}
	m_Controls.emplace_back(pCtrl);
	pCtrl->SetLink(this, nID, szName ? szName : "", pHotKeyLink);
	if (!pCtrl->Attach(pBound))
		ASSERT_RELEASE_FAILED("pCtrl->Attach(pBound)", "CParsedForm::AddLink", "CParsedForm");
	return pCtrl;
}

CBoolButton* CParsedForm::AddRadio(UINT nID, LPCTSTR szName, DataBool* pData, int nGroup)
{
	auto* pButton = static_cast<CBoolButton*>(AddLink(nID, szName, RUNTIME_CLASS(CBoolButton), pData));
	pButton->SetRadioGroup(nGroup);
	return pButton;
}

CExtButton* CParsedForm::AddButton(UINT nID, LPCTSTR szText)
{
	return static_cast<CExtButton*>(AddLink(nID, szText, RUNTIME_CLASS(CExtButton), nullptr));
}

void CParsedForm::SetLabels(std::initializer_list<std::pair<LPCTSTR, LPCTSTR>> labels)
{
	for (auto& [szName, szLabel] : labels)
	{
		auto it = std::find_if(m_Controls.begin(), m_Controls.end(), [&](auto& p) { return p->GetName() == szName; });
		if (it == m_Controls.end())
			ASSERT_RELEASE_FAILED("control of the label", "CParsedForm::SetLabels", szName);
		else
			(*it)->SetLabel(szLabel);
	}
}

CStaticText* CParsedForm::AddStaticText(UINT nID, LPCTSTR szText)
{
	return static_cast<CStaticText*>(AddLink(nID, szText, RUNTIME_CLASS(CStaticText), nullptr));
}

std::vector<CParsedCtrl*> CParsedForm::GetAllControls() const
{
	std::vector<CParsedCtrl*> all;
	for (auto& p : m_Controls)
	{
		all.push_back(p.get());
		for (CParsedForm* pChild : p->GetChildForms())
			for (CParsedCtrl* q : pChild->GetAllControls())
				all.push_back(q);
	}
	return all;
}

CParsedCtrl* CParsedForm::GetLinkedParsedCtrl(UINT nID) const
{
	for (CParsedCtrl* p : GetAllControls())
		if (p->GetCtrlID() == nID)
			return p;
	return nullptr;
}

CParsedCtrl* CParsedForm::GetLinkedParsedCtrl(const DataObj* pData) const
{
	for (CParsedCtrl* p : GetAllControls())
		if (pData && p->GetCtrlData() == pData)
			return p;
	return nullptr;
}

CString PlainLabel(const CString& strName)
{
	CString plain = strName;
	plain.Trim();
	if (plain.Right(1) == ":")
		plain = plain.Left(plain.GetLength() - 1);
	plain.Trim();
	return plain;
}

BOOL IsSameLabel(const CString& strTyped, const CString& strName)
{
	return Utf8CompareNoCase(PlainLabel(strTyped).str(), PlainLabel(strName).str()) == 0;
}

size_t EditDistance(std::string a, std::string b)
{
	for (std::string* s : {&a, &b})
		for (char& c : *s)
			c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
	std::vector<size_t> row(b.size() + 1);
	for (size_t j = 0; j <= b.size(); ++j)
		row[j] = j;
	for (size_t i = 1; i <= a.size(); ++i)
	{
		size_t diagonal = row[0];
		row[0] = i;
		for (size_t j = 1; j <= b.size(); ++j)
		{
			const size_t above = row[j];
			row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
			diagonal = above;
		}
	}
	return row[b.size()];
}

CString NoSuchName(const char* szWhat, const CString& strTyped, const std::vector<CString>& names)
{
	const std::string typed = PlainLabel(strTyped).str();
	std::vector<std::pair<size_t, CString>> close;
	for (const CString& name : names)
	{
		const std::string plain = PlainLabel(name).str();
		if (plain.empty() || std::any_of(close.begin(), close.end(), [&](auto& c) { return c.second == name; }))
			continue;
		const size_t d = EditDistance(typed, plain);
		// Close: a few letters off, or the one holding the other.
		const bool contains = typed.size() >= 3 && Utf8ToLower(plain).find(Utf8ToLower(typed)) != std::string::npos;
		if (d <= std::max<size_t>(2, typed.size() / 3) || contains)
			close.emplace_back(contains ? std::min<size_t>(d, 3) : d, name);
	}
	std::stable_sort(close.begin(), close.end(), [](auto& a, auto& b) { return a.first < b.first; });
	// Only the closest: a name one letter off hides those further away.
	if (!close.empty())
		std::erase_if(close, [best = close.front().first](auto& c) { return c.first > best + 1; });
	CString text = CString(szWhat) + " " + strTyped + ".";
	for (size_t i = 0; i < close.size() && i < 3; ++i)
		text += (i == 0 ? " Did you mean '" : i + 1 == std::min<size_t>(close.size(), 3) ? "' or '" : "', '") + close[i].second;
	return close.empty() ? text : text + "'?";
}

CParsedCtrl* CParsedForm::FindControl(const CString& strName) const
{
	const std::vector<CParsedCtrl*> all = GetAllControls();
	for (CParsedCtrl* p : all)
		if (p->GetName() == strName)
			return p;
	for (CParsedCtrl* p : all)
		if (p->GetLabel() == strName)
			return p;
	return nullptr;
}

BOOL CParsedForm::IsCtrlEditable(const CParsedCtrl* pCtrl) const
{
	if (!pCtrl || pCtrl->IsStatic() || !pCtrl->IsWindowEnabled() || !pCtrl->IsWindowVisible() || !IsFormEnabled())
		return FALSE;
	if (m_pParentForm && !m_pParentForm->IsFormEnabled())
		return FALSE;
	const CParsedForm* pRoot = this;
	while (pRoot->m_pParentForm)
		pRoot = pRoot->m_pParentForm;
	return pRoot->IsDataEditable(pCtrl->GetCtrlData());
}

BOOL CParsedForm::IsDataEditable(const DataObj* pData) const
{
	return !pData || !pData->IsReadOnly();
}

void CParsedForm::Notify(UINT nID, UINT nCode)
{
	// Every target that maps the notification hears it: the form, its containers, the
	// document and the document's client documents.
	OnCmdMsg(nID, nCode);
	if (m_pParentForm)
		m_pParentForm->Notify(nID, nCode);
	else if (RoutesToDocument() && m_pDocument)
		m_pDocument->OnCmdMsg(nID, nCode);
}

void CParsedForm::OnCtrlChanged(CParsedCtrl* pCtrl)
{
	if (m_pParentForm)
		m_pParentForm->OnCtrlChanged(pCtrl);
}

// ---- dialogs ---------------------------------------------------------------------------------

CParsedDialog::CParsedDialog(UINT nIDD, CBaseDocument* pDocument, const CString& strTitle)
	: m_nIDD(nIDD), m_strTitle(strTitle)
{
	SetDocument(pDocument);
}

BOOL CParsedDialog::OnInitDialog()
{
	BuildForm();
	return TRUE;
}

void CParsedDialog::EndDialog(int nResult)
{
	m_nResult = nResult;
	m_bEnded = true;
}

int CParsedDialog::DoModal()
{
	m_bEnded = false;
	m_nResult = 0;
	OnInitDialog();
	g_ShownDialogs.push_back(m_strTitle);
	bool refused = false;
	while (!m_bEnded)
	{
		int answer = refused ? IDCANCEL : IDOK;
		if (!g_DialogAnswers.empty())
		{
			DialogAnswer next = std::move(g_DialogAnswers.front());
			g_DialogAnswers.pop_front();
			answer = next(*this);
		}
		if (answer == IDOK)
		{
			OnOK();
			refused = !m_bEnded;
		}
		else
		{
			OnCancel();
			if (!m_bEnded)
				EndDialog(IDCANCEL);
		}
	}
	return m_nResult;
}

void AfxPushDialogAnswer(DialogAnswer answer)
{
	g_DialogAnswers.push_back(std::move(answer));
}

void AfxClearDialogAnswers()
{
	g_DialogAnswers.clear();
}

std::vector<CString> AfxGetShownDialogs()
{
	return g_ShownDialogs;
}

void AfxClearShownDialogs()
{
	g_ShownDialogs.clear();
}

BOOL CBaseTabDialog::IsFormEnabled() const
{
	return m_bEnabled;
}
