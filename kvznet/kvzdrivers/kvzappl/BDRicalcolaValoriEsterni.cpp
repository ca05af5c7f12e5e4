#include "kvznet/kvzdrivers/kvzappl/BDRicalcolaValoriEsterni.h"

#include <vector>

#include "kvznet/kvzdrivers/kvzappl/ValoriEsterni.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TAziende.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvgeneric/EnumTexts.h"
#include "platform/plvgeneric/Interaction.h"
#include "platform/plvoledb/SqlException.h"

namespace {
const char* const kSource = "BDRicalcolaValoriEsterni";

CString Testo(LPCTSTR sz)
{
	return AfxLoadSourceString(sz, kSource);
}
}  // namespace

BOOL BDRicalcolaValoriEsterni::OnAttachData()
{
	SetFormTitle(Testo(_T("Riporta valori esterni in tabella risultati")));
	m_Spiegazione = Testo(_T("La procedura azzera nella tabella risultati tutte le righe di tipo \"Procedura esterna\" "
							 "e vi riporta i valori inseriti a mano nelle tabelle predisposte (Mq etc...)."));
	return TRUE;
}

void BDRicalcolaValoriEsterni::Stato(LPCTSTR szTesto)
{
	m_StatoElab = Testo(szTesto);
	SetProgressText(m_StatoElab.GetString());
	UpdateDataView();
}

BOOL BDRicalcolaValoriEsterni::ConnectDB()
{
	return m_Connessione.Connetti(m_Ditta);
}

void BDRicalcolaValoriEsterni::OnBatchExecute()
{
	if (!StartBatchTransaction())
		return;
	BeginWaitCursor();
	m_Irraggiungibili.clear();
	AzzeraValori_Ext();
	AzzeraValori();
	RiportaValori();
	Stato(GetScheduler()->IsAborted() ? _T("Elaborazione interrotta su richiesta utente.") : _T("Elaborazione terminata."));
	EndWaitCursor();
	GetContext()->Commit();
}

// The companies of the register, each in its own database; one that cannot be reached is skipped
// after its message, here and in the carry that follows.
void BDRicalcolaValoriEsterni::AzzeraValori_Ext()
{
	std::vector<CString> aziende;
	Kvz_TAziende aAzienda;
	SqlTable aTable(&aAzienda, GetReadOnlySqlSession());
	try
	{
		aTable.Open(FALSE);
		aTable.SelectAll();
		aTable.AddSortColumn(aAzienda.f_Azienda);
		for (aTable.Query(); !aTable.IsEOF(); aTable.MoveNext())
			aziende.push_back(aAzienda.f_Azienda.GetString());
		aTable.Close();
	}
	catch (const SqlException& e)
	{
		if (aTable.IsOpen())
			aTable.Close();
		e.ShowError(_T(""));
	}
	for (const CString& strAzienda : aziende)
	{
		m_Ditta = strAzienda;
		if (!ConnectDB())
		{
			m_Irraggiungibili.insert(strAzienda);
			continue;
		}
		Stato(_T("Azzeramento tabelle ditte esterne in corso...."));
		try
		{
			SqlConnection* pConn = m_Connessione.GetInUso();
			CPLVContext context(pConn, this);
			kvzappl::AzzeraValoriEsterni(pConn, context.GetUpdatableSqlSession(),
										 !KvzConnessioneAzienda::DittaCorrente(m_Ditta));
		}
		catch (const SqlException& e)
		{
			e.ShowError(_T(""));
		}
		m_Connessione.Chiudi();
	}
}

void BDRicalcolaValoriEsterni::AzzeraValori()
{
	Stato(_T("Azzeramento tabelle ditte corrente in corso...."));
	try
	{
		kvzappl::AzzeraValoriEsterni(GetSqlConnection(), GetUpdatableSqlSession(), FALSE);
	}
	catch (const SqlException& e)
	{
		e.ShowError(_T(""));
	}
}

// Every area row of every year, warehouse and month, under the code of its head.
void BDRicalcolaValoriEsterni::RiportaValori()
{
	Stato(_T("Ricalcolo valori in corso...."));
	TKvzMetriQuadriMesi aRiga;
	TKvzMetriQuadriTesta aTesta;
	SqlTable aMesi(&aRiga, GetReadOnlySqlSession());
	SqlTable aTeste(&aTesta, GetReadOnlySqlSession());
	kvzappl::ScrittoreValoriEsterni scrittore(this, m_Connessione);
	for (const CString& strDitta : m_Irraggiungibili)
		scrittore.SegnaIrraggiungibile(strDitta);
	try
	{
		aMesi.Open(FALSE);
		aMesi.SelectAll();
		aTeste.Open(FALSE);
		aTeste.SelectAll();
		aTeste.AddParam(_T("p5"), aTesta.f_Esercizio);
		aTeste.AddFilterColumn(aTesta.f_Esercizio, _T(""));
		aTeste.AddParam(_T("p7"), aTesta.f_CodMagazzino);
		aTeste.AddFilterColumn(aTesta.f_CodMagazzino, _T(""));
		aTeste.AddParam(_T("p6"), aTesta.f_Mese);
		aTeste.AddFilterColumn(aTesta.f_Mese, _T(""));
		for (aMesi.Query(); !aMesi.IsEOF(); aMesi.MoveNext())
		{
			aTeste.SetParamValue(_T("p5"), aRiga.f_Esercizio);
			aTeste.SetParamValue(_T("p7"), aRiga.f_CodMagazzino);
			aTeste.SetParamValue(_T("p6"), aRiga.f_Mese);
			aTeste.Query();
			if (aTeste.IsEOF())
				continue;
			m_Ditta = aRiga.f_Ditta;
			scrittore.Scrivi(aRiga, aRiga.f_Mese, aTesta.f_CodiceDrivers);
		}
		aMesi.Close();
		aTeste.Close();
	}
	catch (const SqlException& e)
	{
		for (SqlTable* p : {&aMesi, &aTeste})
			if (p->IsOpen())
				p->Close();
		e.ShowError(_T(""));
	}
}

void BDRicalcolaValoriEsterniView::BuildDataControlLinks()
{
	auto* pDoc = static_cast<BDRicalcolaValoriEsterni*>(GetDocument());
	AddLink(IDC_RICOSTR_SPIEGAZIONE, _T("Descrizione"), RUNTIME_CLASS(CStrStatic), &pDoc->m_Spiegazione);
	AddLink(IDC_RICOSTR_STATO_ELAB, _T("RICOSTR_STATO_ELAB"), RUNTIME_CLASS(CStrStatic), &pDoc->m_StatoElab);
	SetLabels({{_T("RICOSTR_STATO_ELAB"), _T("Stato elaborazione")}});
}
