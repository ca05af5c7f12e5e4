#include "kvznet/kvzdrivers/kvzappl/ConnessioneAzienda.h"

#include "kvznet/kvzmod/kvzdbl/Kvz_TAziende.h"
#include "kvznet/kvzmod/kvzdocuments/formule/MngFormula.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvgeneric/Interaction.h"
#include "platform/plvoledb/SqlConnection.h"
#include "platform/plvoledb/SqlException.h"

namespace {
const char* const kSource = "ConnessioneAzienda";
// Seconds a connection to another company may take.
constexpr int kTimeout = 60;
}  // namespace

BOOL KvzConnessioneAzienda::DittaCorrente(const DataStr& aDitta)
{
	return aDitta.IsEmpty() || aDitta.GetString() == _T(".");
}

BOOL KvzConnessioneAzienda::Connetti(const DataStr& aDitta)
{
	Chiudi();
	if (DittaCorrente(aDitta))
	{
		m_pInUso = m_pDocument ? m_pDocument->GetSqlConnection() : AfxGetDefaultSqlConnection();
		return m_pInUso != nullptr;
	}
	auto fallita = [&aDitta] {
		AfxMessageBox(CString::Formatted(AfxLoadSourceString(_T("Connessione al database esterno %s fallita."), kSource),
										 aDitta.GetString().GetString()));
		return FALSE;
	};
	CString stringa;
	try
	{
		Kvz_TRAziende aziende(m_pDocument);
		if (aziende.FindRecord(aDitta) != TableReader::FOUND)
		{
			AfxMessageBox(CString::Formatted(AfxLoadSourceString(_T("Azienda %s non censita."), kSource),
											 aDitta.GetString().GetString()));
			return FALSE;
		}
		const Kvz_TAziende& r = *aziende.GetRecord();
		stringa = Kvz_New_External::StringaConnessione(r.f_Server.GetString(), r.f_DataSource.GetString(),
													   r.f_UserID.GetString(), r.f_Password.GetString(), kTimeout);
	}
	catch (const SqlException&)
	{
		// A register that cannot be read reaches no company.
		return fallita();
	}
	m_pNuova = AfxGetOleDbMng()->MakeNewConnection(stringa, 0, 0, 0, _T(""), nullptr);
	// The manager's reason may quote the connection data: the password stays out of it.
	if (!m_pNuova)
		return fallita();
	m_pInUso = m_pNuova;
	return TRUE;
}

void KvzConnessioneAzienda::Chiudi()
{
	if (m_pNuova)
		AfxGetOleDbMng()->CloseConnection(m_pNuova);
	m_pNuova = nullptr;
	m_pInUso = nullptr;
}
