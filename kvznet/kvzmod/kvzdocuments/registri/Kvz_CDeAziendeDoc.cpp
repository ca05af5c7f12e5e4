#include "kvznet/kvzmod/kvzdocuments/registri/Kvz_CDeAziendeDoc.h"

#include <new>
#include <string>
#include <utility>

#include "platform/plvgeneric/Application.h"
#include "platform/plvgeneric/Interaction.h"
#include "platform/plvnamesolver/ApplicationContext.h"

namespace {
const char* const kSource = "Kvz_CDeAziendeDoc";
const char* const kDsn = "DSN";

// A value as a connect string reads it back: enclosed in quotes when it holds ';', a quote or
// blanks at either end.
CString ValoreConnessione(const CString& strValue)
{
	const std::string& v = strValue.str();
	if (v.empty() || (v.find_first_of(";'\"") == std::string::npos && v.front() != ' ' && v.back() != ' '))
		return strValue;
	CString quoted = strValue;
	quoted.Replace("'", "''");
	return "'" + quoted + "'";
}
}  // namespace

// ---- record buffer -----------------------------------------------------------------------------

Kvz_DBTAziende::Kvz_DBTAziende(CAbstractFormDoc* pDocument)
	: Kvz_DBTCodeList(Kvz_TAziende::GetThisClass(), pDocument, _T("DBTAziende"),
					  {{_T("Azienda"), _TB("Indicare il codice azienda")}}, {_T("Azienda"), _T("Descrizione")})
{
}

// ---- document ----------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(Kvz_CDeAziendeDoc, CAbstractFormDoc)
	ON_BN_CLICKED(IDC_AZIENDE_CONNETTI, OnConnetti)
END_MESSAGE_MAP()

BOOL Kvz_CDeAziendeDoc::OnAttachData()
{
	SetFormTitle(AfxLoadSourceString(_TB("Anagrafica aziende"), kSource));
	return Attach(new (std::nothrow) Kvz_DBTAziende(this));
}

BOOL Kvz_CDeAziendeDoc::OnOkTransaction()
{
	const Kvz_TAziende* pRec = GetAziende();
	LPCTSTR szMissing = pRec->f_DataSource.IsEmpty() ? _TB("Indicare il nome del database.")
						: pRec->f_Server.IsEmpty()	 ? _TB("Indicare il nome del server.")
						: pRec->f_UserID.IsEmpty()	 ? _TB("Indicare l'user ID del database.")
													 : nullptr;
	if (!szMissing)
		return TRUE;
	AfxMessageBox(AfxLoadSourceString(szMissing, kSource), MB_OK);
	return FALSE;
}

CString Kvz_CDeAziendeDoc::DataSourceOf(const CString& strConnect)
{
	// Pair by pair, so that a key that only ends in DSN (FILEDSN) or a quoted value holding
	// ";DSN=" is not taken for the data source.
	const std::string& s = strConnect.str();
	size_t i = 0;
	while (i < s.size())
	{
		const size_t eq = s.find('=', i);
		const size_t semi = s.find(';', i);
		if (eq == std::string::npos)
			return CString();
		if (semi < eq)  // a part without a value, as ODBC's leading "ODBC;"
		{
			i = semi + 1;
			continue;
		}
		CString key(s.substr(i, eq - i));
		key.Trim();
		size_t v = eq + 1;
		std::string value;
		if (v < s.size() && (s[v] == '\'' || s[v] == '"'))
		{
			// Quoted: ';' belongs to the value, the quote is written twice inside.
			const char q = s[v++];
			for (; v < s.size(); ++v)
			{
				if (s[v] == q && (v + 1 >= s.size() || s[v + 1] != q))
				{
					++v;
					break;
				}
				value += s[v];
				if (s[v] == q)
					++v;
			}
		}
		const size_t next = s.find(';', v);
		if (value.empty())
			value = s.substr(v, next == std::string::npos ? std::string::npos : next - v);
		if (key.CompareNoCase(kDsn) == 0)
			return CString(value);
		if (next == std::string::npos)
			return CString();
		i = next + 1;
	}
	return CString();
}

void Kvz_CDeAziendeDoc::OnConnetti()
{
	if (GetFormMode() != NEW && GetFormMode() != EDIT)
		return;
	Kvz_TAziende* pRec = GetAziende();
	// What the form holds is proposed; the password is not: the record keeps it.
	CString strProposta;
	for (auto [szKey, pValue] : {std::pair{"DSN", &pRec->f_DataSource}, std::pair{"Server", &pRec->f_Server},
								 std::pair{"UID", &pRec->f_UserID}})
		if (!pValue->IsEmpty())
			strProposta += CString::Formatted("%s=%s;", szKey, ValoreConnessione(pValue->GetString()).GetString());
	pRec->f_ConnectionString.Clear();
	pRec->f_DataSource.Clear();
	try
	{
		CString strConnect;
		if (!AfxCompleteConnectString(strProposta, strConnect))
			return;
		SetModifiedFlag(TRUE);
		pRec->f_ConnectionString = strConnect;
		pRec->f_DataSource = DataSourceOf(strConnect);
		UpdateDataView();
	}
	catch (const CException& e)
	{
		ASSERT_RELEASE_TRACE(e.IsKindOf(CException::GetThisClass()), "Kvz_CDeAziendeDoc::OnConnetti", kSource);
		// What the test itself says comes first, as the framework shows an exception.
		if (!e.GetMessage().IsEmpty())
			AfxMessageBox(e.GetMessage(), MB_OK | MB_ICONERROR);
		AfxMessageBox(AfxLoadSourceString(_TB("Connessione al database fallita."), kSource), MB_OK);
		return;
	}
	ProvaApertura();
}

void Kvz_CDeAziendeDoc::ProvaApertura()
{
	const Kvz_TAziende* pRec = GetAziende();
	COleDbManager* pManager = AfxGetOleDbMng();
	const CString strStringa =
		COleDbManager::BuildConnectionString(pRec->f_Server.GetString(), pRec->f_DataSource.GetString(),
											 pRec->f_UserID.GetString(), pRec->f_Password.GetString(), 30);
	SqlConnection* pConnection = pManager->MakeNewConnection(strStringa);
	if (!pConnection)
	{
		// The manager's reason leaves the password out. A file that is not there is said in the
		// form's words; the server's own reasons are quoted as it gives them.
		const CString strMotivo = pManager->GetLastError();
		const CString kNoFile = "database file does not exist: ";
		const int nNoFile = strMotivo.Find(kNoFile.GetString());
		const CString strDetto =
			nNoFile >= 0 ? CString::Formatted(AfxLoadSourceString(_TB("il file %s non esiste"), kSource),
											  strMotivo.Mid(nNoFile + kNoFile.GetLength()).GetString())
						 : CString::Formatted(AfxLoadSourceString(_TB("risposta del server: %s"), kSource),
											  strMotivo.GetString());
		AfxMessageBox(CString::Formatted(AfxLoadSourceString(_TB("Il database %s non è raggiungibile: %s"), kSource),
										 pRec->f_DataSource.GetString().GetString(), strDetto.GetString()),
					  MB_OK | MB_ICONERROR);
		return;
	}
	pManager->CloseConnection(pConnection);
	AfxMessageBox(CString::Formatted(AfxLoadSourceString(_TB("Connessione al database %s riuscita."), kSource),
									 pRec->f_DataSource.GetString().GetString()),
				  MB_OK | MB_ICONINFORMATION);
}

// ---- form --------------------------------------------------------------------------------------

void Kvz_CDeAziendeView::BuildDataControlLinks()
{
	Kvz_TAziende* pRec = static_cast<Kvz_CDeAziendeDoc*>(GetDocument())->GetAziende();
	AddLink(IDC_AZIENDE_CODICE, _T("Codice azienda"), RUNTIME_CLASS(CStrEdit), &pRec->f_Azienda);
	AddLink(IDC_AZIENDE_DESCRIZIONE, _T("Descrizione"), RUNTIME_CLASS(CStrEdit), &pRec->f_Descrizione);
	AddLink(IDC_AZIENDE_DATABASE, _T("Database"), RUNTIME_CLASS(CStrEdit), &pRec->f_DataSource);
	AddLink(IDC_AZIENDE_SERVER, _T("Server"), RUNTIME_CLASS(CStrEdit), &pRec->f_Server);
	AddLink(IDC_AZIENDE_USERID, _T("User ID"), RUNTIME_CLASS(CStrEdit), &pRec->f_UserID);
	AddLink(IDC_AZIENDE_PASSWORD, _T("Password"), RUNTIME_CLASS(CPasswordEdit), &pRec->f_Password);
	AddButton(IDC_AZIENDE_CONNETTI, _T("Connetti"));
}
