#include "kvznet/kvzmod/kvzdocuments/riclassific/Kvz_DDescrizioniBrevi.h"

#include <set>

#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificazioneRighe.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvnamesolver/ApplicationContext.h"

namespace {
const char* const kSource = "Kvz_DDescrizioniBrevi";

// A row the user added and left blank is no description.
bool RigaVuota(const Kvz_TDescrizioniBrevi& r)
{
	return r.f_CodRiclassificato.IsEmpty() && r.f_DescrizioneBreve.IsEmpty() && r.f_ModelloPerVisDescr.IsEmpty() &&
		   !r.f_Selezionata;
}
}  // namespace

// ---- buffer ------------------------------------------------------------------------------------

Kvz_DBTDescrizioniBrevi::Kvz_DBTDescrizioniBrevi(CAbstractFormDoc* pDocument)
	: DBTSlaveBuffered(Kvz_TDescrizioniBrevi::GetThisClass(), pDocument, _T("DBTDescrizioniBrevi"), TRUE, FALSE)
{
}

Kvz_TDescrizioniBrevi* Kvz_DBTDescrizioniBrevi::GetCurrentRecord() const
{
	ASSERT_RELEASE_TRACE(!GetCurrentRow() || GetCurrentRow()->IsKindOf((Kvz_TDescrizioniBrevi::GetThisClass())),
						 "Kvz_DBTDescrizioniBrevi::GetCurrentRecord", kSource);
	return static_cast<Kvz_TDescrizioniBrevi*>(GetCurrentRow());
}

// ---- document ----------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(Kvz_DDescrizioniBrevi, CAbstractFormDoc)
	ON_EN_VALUE_CHANGED(IDC_DESCRIZIONIBREVI_MODELLO, OnModelloChanged)
END_MESSAGE_MAP()

BOOL Kvz_DDescrizioniBrevi::OnAttachData()
{
	SetFormTitle(AfxLoadSourceString(_T("Descrizioni brevi"), kSource));
	m_pHKLModelli = new KVZ_HKLRiclassificazioneTesta;
	Attach(m_pHKLModelli, CString());
	m_pDBT = std::make_unique<Kvz_DBTDescrizioniBrevi>(this);
	return TRUE;
}

void Kvz_DDescrizioniBrevi::RiempiDBT()
{
	BeginWaitCursor();
	m_pDBT->RemoveAll(TRUE);
	try
	{
		Kvz_TDescrizioniBrevi aRec;
		SqlTable aTable(&aRec, GetReadOnlySqlSession(), this);
		aTable.Open(FALSE, FALSE, TRUE);
		aTable.SelectAll();
		aTable.AddSortColumn(aRec.f_CodRiclassificato);
		for (aTable.Query(); !aTable.IsEOF(); aTable.MoveNext())
			*m_pDBT->AddRecord() = aRec;
		aTable.Close();
	}
	catch (const SqlException& e)
	{
		e.ShowError();
	}
	EndWaitCursor();
	UpdateDataView();
}

void Kvz_DDescrizioniBrevi::DefinisciQueryRigaModello(SqlTable& aTable, Kvz_TRiclassificazioneRighe& aRec)
{
	aTable.SelectAll();
	aTable.AddParam(_T("p2"), aRec.f_ModelloRiclassific);
	aTable.AddFilterColumn(aRec.f_ModelloRiclassific);
	aTable.AddParam(_T("p1"), aRec.f_CodRiclassificato);
	aTable.AddFilterColumn(aRec.f_CodRiclassificato);
	// A model kept over several years describes the code as its latest year does.
	aTable.AddSortColumn(aRec.f_Esercizio, TRUE);
}

void Kvz_DDescrizioniBrevi::DescrizioneModello(int nRow)
{
	const int nFirst = nRow < 0 ? 0 : nRow;
	const int nLast = nRow < 0 ? m_pDBT->GetUpperBound() : std::min(nRow, m_pDBT->GetUpperBound());
	if (nFirst > nLast)
		return;
	try
	{
		Kvz_TRiclassificazioneRighe aRec;
		SqlTable aTable(&aRec, GetReadOnlySqlSession(), this);
		aTable.Open(FALSE, FALSE, TRUE);
		DefinisciQueryRigaModello(aTable, aRec);
		for (int i = nFirst; i <= nLast; ++i)
		{
			Kvz_TDescrizioniBrevi* pRiga = m_pDBT->GetRiga(i);
			if (pRiga->f_ModelloPerVisDescr.IsEmpty() || pRiga->f_CodRiclassificato.IsEmpty())
			{
				pRiga->l_DescrizioneModello.Clear();
				continue;
			}
			// One query per row at most: the index on model and code finds it.
			aTable.SetParamValue(_T("p2"), pRiga->f_ModelloPerVisDescr);
			aTable.SetParamValue(_T("p1"), pRiga->f_CodRiclassificato);
			aTable.Query();
			// Another model without the code describes nothing: the old description would mislead.
			pRiga->l_DescrizioneModello = aTable.IsEmpty() ? DataStr() : aRec.f_Descrizione;
		}
		aTable.Close();
	}
	catch (const SqlException& e)
	{
		e.ShowError();
	}
}

void Kvz_DDescrizioniBrevi::CaricaDescrizioniModello()
{
	DescrizioneModello(-1);
}

void Kvz_DDescrizioniBrevi::OnModelloChanged()
{
	if (m_pDBT->GetCurrentRowIdx() >= 0)
		DescrizioneModello(m_pDBT->GetCurrentRowIdx());
	UpdateDataView();
}

BOOL Kvz_DDescrizioniBrevi::ControllaRighe()
{
	std::set<CString> codici;
	for (int i = 0; i < m_pDBT->GetSize(); ++i)
	{
		const Kvz_TDescrizioniBrevi* pRiga = m_pDBT->GetRiga(i);
		if (RigaVuota(*pRiga))
			continue;
		CString codice = pRiga->f_CodRiclassificato.GetString();
		if (codice.IsEmpty())
		{
			Message(CString::Formatted(AfxLoadSourceString(_T("Riga %d: indicare il codice."), kSource), i + 1));
			return FALSE;
		}
		codice.MakeUpper();
		if (!codici.insert(codice).second)
		{
			Message(CString::Formatted(AfxLoadSourceString(_T("Riga %d: il codice %s è già presente."), kSource), i + 1,
									   pRiga->f_CodRiclassificato.GetString().GetString()));
			return FALSE;
		}
	}
	return TRUE;
}

void Kvz_DDescrizioniBrevi::CancellaTabella()
{
	CString strSQL;
	strSQL.Format(_T("DELETE FROM %s"), Kvz_TDescrizioniBrevi::GetStaticName());
	GetUpdatableSqlSession()->ExecuteSQL(strSQL);
}

void Kvz_DDescrizioniBrevi::OnBatchExecute()
{
	// Nothing is deleted before the rows are known to be writable.
	if (!ControllaRighe())
	{
		m_bBatchNotStarted = true;  // a refused save is no success
		return;
	}
	if (!StartBatchTransaction())
		return;
	int nScritte = 0;
	try
	{
		CancellaTabella();
		Kvz_TUDescrizioniBrevi aUpdater(nullptr, nullptr);
		aUpdater.SetSqlSession(GetUpdatableSqlSession());
		for (int i = 0; i < m_pDBT->GetSize(); ++i)
		{
			const Kvz_TDescrizioniBrevi* pRiga = m_pDBT->GetRiga(i);
			if (RigaVuota(*pRiga))
				continue;
			if (GetScheduler()->IsAborted())
			{
				GetContext()->Rollback();
				SetProgressText(AfxLoadSourceString(_T("Salvataggio interrotto: nessuna modifica registrata."), kSource));
				m_bBatchNotStarted = true;  // an interrupted save is no success
				return;
			}
			const TableReader::FindResult esito = aUpdater.FindRecord(pRiga->f_CodRiclassificato, FALSE);
			if (esito != TableReader::FOUND && esito != TableReader::NOT_FOUND)
				throw SqlException(CString::Formatted(
					AfxLoadSourceString(_T("Il codice %s non è accessibile."), kSource),
					pRiga->f_CodRiclassificato.GetString().GetString()));
			Kvz_TDescrizioniBrevi* pRec = aUpdater.GetRecord();
			if (esito == TableReader::NOT_FOUND)
				pRec->f_CodRiclassificato = pRiga->f_CodRiclassificato;
			pRec->f_ModelloPerVisDescr = pRiga->f_ModelloPerVisDescr;
			pRec->f_Selezionata = pRiga->f_Selezionata;
			pRec->f_DescrizioneBreve = pRiga->f_DescrizioneBreve;
			if (!aUpdater.UpdateRecord(FALSE))
				throw SqlException(CString::Formatted(
					AfxLoadSourceString(_T("Il codice %s non è stato scritto."), kSource),
					pRiga->f_CodRiclassificato.GetString().GetString()));
			++nScritte;
		}
		aUpdater.Free();
		if (!GetContext()->Commit())
			throw SqlException(AfxLoadSourceString(_T("La transazione non è stata confermata."), kSource));
	}
	catch (const SqlException& e)
	{
		// The table was emptied in this transaction: going back restores every description.
		GetContext()->Rollback();
		e.ShowError();
		Message(AfxLoadSourceString(_T("Descrizioni brevi non salvate: la tabella è rimasta com'era."), kSource));
		m_bBatchNotStarted = true;  // a save undone is no success
		return;
	}
	SetModifiedFlag(FALSE);
	SetProgressText(CString::Formatted(AfxLoadSourceString(_T("Salvate %d descrizioni brevi."), kSource), nScritte));
}

// ---- form --------------------------------------------------------------------------------------

void Kvz_DescrizioniBreviBodyEdit::Customize()
{
	auto* pDoc = static_cast<Kvz_DDescrizioniBrevi*>(GetDBT()->GetDocument());
	auto* pRec = static_cast<Kvz_TDescrizioniBrevi*>(GetDBT()->GetRecord());
	auto titolo = [](LPCTSTR sz) { return AfxLoadSourceString(sz, kSource); };
	AddColumn(IDC_DESCRIZIONIBREVI_CODICE, _T("CodiceRiclassificazione"), titolo(_T("Codice")), RUNTIME_CLASS(CStrEdit),
			  pRec->f_CodRiclassificato, 12);
	AddColumn(IDC_DESCRIZIONIBREVI_MODELLO, _T("Modello"), titolo(_T("Modello")), RUNTIME_CLASS(CStrEdit),
			  pRec->f_ModelloPerVisDescr, 10, 1, pDoc->GetHKLModelli());
	AddColumn(IDC_DESCRIZIONIBREVI_SELEZIONATA, _T("Selezionata"), titolo(_T("Sel.")), RUNTIME_CLASS(CBoolButton),
			  pRec->f_Selezionata, 4);
	AddColumn(IDC_DESCRIZIONIBREVI_DESCRIZIONE, _T("DescrizioneBreve"), titolo(_T("Descrizione breve")),
			  RUNTIME_CLASS(CStrEdit), pRec->f_DescrizioneBreve, 16, 1);
	AddColumn(IDC_DESCRIZIONIBREVI_DESCR_MODELLO, _T("DescrizioneModello"), titolo(_T("Descrizione modello")),
			  RUNTIME_CLASS(CStrStatic), pRec->l_DescrizioneModello, 32, 2);
}

void Kvz_DescrizioniBreviView::BuildDataControlLinks()
{
	auto* pDoc = static_cast<Kvz_DDescrizioniBrevi*>(GetDocument());
	AddLink(IDC_DESCRIZIONIBREVI_GRID, AfxLoadSourceString(_T("Descrizioni brevi"), kSource),
			RUNTIME_CLASS(Kvz_DescrizioniBreviBodyEdit), pDoc->GetDBT());
	pDoc->RiempiDBT();
	pDoc->CaricaDescrizioniModello();
}
