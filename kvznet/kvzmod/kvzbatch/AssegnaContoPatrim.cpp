#include "kvznet/kvzmod/kvzbatch/AssegnaContoPatrim.h"

#include <algorithm>

#include "kvznet/kvzmod/kvzdbl/Kvz_TAnagContiKvz.h"
#include "platform/erp/erpbasedbl/TChartOfAccounts.h"
#include "platform/erp/erpbasedbl/TLedgers.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvgeneric/Interaction.h"
#include "platform/plvnamesolver/ApplicationContext.h"

namespace {
const char* const kSource = "AssegnaContoPatrim";

enum : UINT
{
	IDC_CONTI_PATR_GRID = 31810,
	IDC_CONTI_PATR_STATO_ELAB,
	IDC_CONTI_PATR_DAL_CONTO,
	IDC_CONTI_PATR_DES_DAL,
	IDC_CONTI_PATR_AL_CONTO,
	IDC_CONTI_PATR_DES_AL,
	IDC_CONTI_PATR_CONTO_PA,
	IDC_CONTI_PATR_DES_CONTO_PA,
};

const char* const kParametriMancanti =
	"Parametri del piano dei conti del gestionale non impostati: i livelli dei conti non sono calcolabili.";
}  // namespace

// ---- buffer ------------------------------------------------------------------------------------

Kvz_DBTAssegnaContoPatrim::Kvz_DBTAssegnaContoPatrim(CAbstractFormDoc* pDocument)
	: DBTSlaveBuffered(Kvz_TEnhRaggruppPdC::GetThisClass(), pDocument, _T("DBTAssegnaContoPatrim"), TRUE, FALSE)
{
}

Kvz_TEnhRaggruppPdC* Kvz_DBTAssegnaContoPatrim::GetCurrentRecord() const
{
	ASSERT_RELEASE_TRACE(!GetCurrentRow() || GetCurrentRow()->IsKindOf(Kvz_TEnhRaggruppPdC::GetThisClass()),
						 "Kvz_DBTAssegnaContoPatrim::GetCurrentRecord", kSource);
	return static_cast<Kvz_TEnhRaggruppPdC*>(GetCurrentRow());
}

// ---- document ----------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(Kvz_AssegnaContoPatrimDoc, CAbstractFormDoc)
	ON_EN_VALUE_CHANGED(IDC_CONTI_PATR_DAL_CONTO, OnDalContoChanged)
	ON_EN_VALUE_CHANGED(IDC_CONTI_PATR_AL_CONTO, OnAlContoChanged)
	ON_EN_VALUE_CHANGED(IDC_CONTI_PATR_CONTO_PA, OnContoPatrimonialeChanged)
END_MESSAGE_MAP()

BOOL Kvz_AssegnaContoPatrimDoc::OnAttachData()
{
	SetFormTitle(_T("Assegnazione conti patrimoniali"));
	m_pDBT = std::make_unique<Kvz_DBTAssegnaContoPatrim>(this);

	// The range ends need not be accounts; the balance-sheet account must be one.
	m_pHKLDalConto = new HKLChartOfAccountsByLedgerType;
	m_pHKLAlConto = new HKLChartOfAccountsByLedgerType;
	m_pHKLContoPatrim = new HKLChartOfAccountsByLedgerType;
	m_pHKLContoPatrim->SetLedgerTypeSelection(HKLChartOfAccountsByLedgerType::BALANCE_SHEET);
	m_pHKLContoPatrim->MustExistData(TRUE);
	for (HKLChartOfAccountsByLedgerType* pHKL : {m_pHKLDalConto, m_pHKLAlConto, m_pHKLContoPatrim})
	{
		pHKL->EnableAddOnFly(FALSE);
		Attach(pHKL, CString());
	}
	LeggiParametriPdC();
	return TRUE;
}

BOOL Kvz_AssegnaContoPatrimDoc::LeggiParametriPdC()
{
	try
	{
		TRChartOfAccountParameters reader(this);
		if (reader.FindRecord() == TableReader::FOUND && reader.GetRecord()->f_LedgerLength > 0)
		{
			m_ParametriPdC = *reader.GetRecord();
			return TRUE;
		}
	}
	catch (const SqlException& e)
	{
		e.ShowError();
	}
	m_ParametriPdC = TChartOfAccountParameters();
	return FALSE;
}

int Kvz_AssegnaContoPatrimDoc::LivelloConto(const CString& strConto) const
{
	return m_ParametriPdC.GetLevelOf(strConto.GetLength());
}

int Kvz_AssegnaContoPatrimDoc::UltimoLivelloRaggruppamento(const CString& strConto)
{
	Kvz_TRRaggruppPdC reader(this);
	if (reader.FindRecord(DataStr(strConto)) != TableReader::FOUND)
		return 0;
	return UltimoLivelloRaggruppamento(*reader.GetRecord());
}

int Kvz_AssegnaContoPatrimDoc::UltimoLivelloRaggruppamento(const Kvz_TRaggruppPdC& riga)
{
	const DataBool* livelli[] = {&riga.f_PrimoLivello, &riga.f_SecondoLivello, &riga.f_TerzoLivello,
								 &riga.f_QuartoLivello, &riga.f_QuintoLivello,  &riga.f_SestoLivello,
								 &riga.f_SettimoLivello, &riga.f_OttavoLivello};
	for (int n = 8; n >= 1; --n)
		if (*livelli[n - 1])
			return n;
	return 0;
}

void Kvz_AssegnaContoPatrimDoc::OnDalContoChanged()
{
	Kvz_TEnhRaggruppPdC* pRiga = m_pDBT->GetCurrentRecord();
	if (!pRiga)
		return;
	const CString strDes = m_pHKLDalConto->GetDescription();
	pRiga->l_DescrDalConto = strDes;
	// The range proposed takes every code that begins with the from code.
	pRiga->l_AlConto = pRiga->l_DalConto.IsEmpty() ? CString() : pRiga->l_DalConto.GetString() + "zzzzzz";
	pRiga->l_DescrAlConto = strDes;
	UpdateDataView();
}

void Kvz_AssegnaContoPatrimDoc::OnAlContoChanged()
{
	if (Kvz_TEnhRaggruppPdC* pRiga = m_pDBT->GetCurrentRecord())
		pRiga->l_DescrAlConto = m_pHKLAlConto->GetDescription();
	UpdateDataView();
}

void Kvz_AssegnaContoPatrimDoc::OnContoPatrimonialeChanged()
{
	Kvz_TEnhRaggruppPdC* pRiga = m_pDBT->GetCurrentRecord();
	if (!pRiga)
		return;
	pRiga->l_DescrContoPatrim = m_pHKLContoPatrim->GetDescription();
	const CString strConto = pRiga->f_ContoPatrimoniale.GetString();
	if (!strConto.IsEmpty() && LivelloConto(strConto) != UltimoLivelloRaggruppamento(strConto))
	{
		AfxMessageBox(_T("Sono collegabili ai conti economici i conti patrimoniali raggruppati (vedi livello di "
						 "raggruppamento del mastro)."));
		pRiga->f_ContoPatrimoniale.Clear();
		pRiga->l_DescrContoPatrim.Clear();
		SetCtrlFocus(IDC_CONTI_PATR_CONTO_PA);
	}
	UpdateDataView();
}

void Kvz_AssegnaContoPatrimDoc::OnBatchExecute()
{
	// Without the host's code structure no account's level is known: nothing is written.
	if (!LeggiParametriPdC())
	{
		m_StatoElab = kParametriMancanti;
		AfxMessageBox(m_StatoElab.GetString());
		m_bBatchNotStarted = true;  // a refused run is no success
		return;
	}
	if (!StartBatchTransaction())
		return;

	BeginWaitCursor();
	m_StatoElab = _T("Aggiornamento in corso ...");
	SetProgressText(m_StatoElab.GetString());
	UpdateDataView();
	const int nAggiornati = Assegna();
	EndWaitCursor();
	m_StatoElab = GetScheduler()->IsAborted() ? CString(_T("Elaborazione interrotta su richiesta utente."))
											  : CString::Formatted("Aggiornati %d conti.", nAggiornati);
	SetProgressText(m_StatoElab.GetString());
	UpdateDataView();
	GetMessages()->Show();
	GetContext()->Commit();
}

int Kvz_AssegnaContoPatrimDoc::Assegna()
{
	int nAggiornati = 0;
	const DataInt esercizio(AfxGetApplicationDate().Year());
	try
	{
		Kvz_TUAnagContiKvz aggConti(this, GetMessages());
		aggConti.SetSqlSession(GetUpdatableSqlSession());
		aggConti.SetAutocommit(TRUE);

		Kvz_TRaggruppPdC rec;
		SqlTable raggrupp(&rec, GetUpdatableSqlSession(), this);
		raggrupp.SetAutocommit(TRUE);
		raggrupp.Open(TRUE);
		raggrupp.SelectAll();
		raggrupp.AddParam("p2", rec.f_Conto);
		raggrupp.AddParam("p3", rec.f_Conto);
		raggrupp.AddBetweenColumn(rec.f_Conto);
		raggrupp.AddSortColumn(rec.f_Conto);

		// The accounts of every range first, for the progress.
		long nConti = 0, nConto = 0;
		{
			Kvz_TRaggruppPdC aConta;
			DataLng n;
			SqlTable conta(&aConta, GetReadOnlySqlSession(), this);
			conta.Open(FALSE);
			conta.SelectSqlFun("COUNT(*)", n);
			conta.AddParam("p2", aConta.f_Conto);
			conta.AddParam("p3", aConta.f_Conto);
			conta.AddBetweenColumn(aConta.f_Conto);
			for (int i = 0; i < m_pDBT->GetSize(); ++i)
			{
				const Kvz_TEnhRaggruppPdC* pRiga = m_pDBT->GetRiga(i);
				if (pRiga->l_DalConto.IsEmpty() || pRiga->l_AlConto.IsEmpty())
					continue;
				conta.SetParamValue("p2", pRiga->l_DalConto);
				conta.SetParamValue("p3", pRiga->l_AlConto);
				conta.Query();
				nConti += conta.IsEOF() ? 0 : static_cast<long>(n);
			}
			conta.Close();
		}
		TRChartOfAccounts pdc(this);
		TRLedgers mastri(this);
		for (int i = 0; i < m_pDBT->GetSize() && !GetScheduler()->IsAborted(); ++i)
		{
			const Kvz_TEnhRaggruppPdC* pRiga = m_pDBT->GetRiga(i);
			if (pRiga->l_DalConto.IsEmpty() || pRiga->l_AlConto.IsEmpty())
				continue;
			raggrupp.SetParamValue("p2", pRiga->l_DalConto);
			raggrupp.SetParamValue("p3", pRiga->l_AlConto);
			for (raggrupp.Query(); !raggrupp.IsEOF(); raggrupp.MoveNext())
			{
				if (GetScheduler()->IsAborted())
					break;
				const CString strConto = rec.f_Conto.GetString();
				// Balance-sheet accounts are linked to, never linked.
				const BOOL bInPdc = pdc.FindRecord(rec.f_Conto) == TableReader::FOUND;
				++nConto;
				m_StatoElab = CString::Formatted("Aggiornamento in corso conto %s %s(%ld di %ld) ...", strConto.GetString(),
												 bInPdc ? (pdc.GetRecord()->f_Description.GetString() + " ").GetString()
														: "",
												 nConto, std::max(nConto, nConti));
				SetProgressText(m_StatoElab.GetString());
				const DataStr mastro(bInPdc ? pdc.GetRecord()->f_Ledger.GetString()
											: strConto.Left(m_ParametriPdC.f_LedgerLength));
				if (mastri.FindRecord(mastro) != TableReader::FOUND)
				{
					GetMessages()->Add(CString::Formatted("Mastro del conto %s non trovato: conto non aggiornato.",
														  strConto.GetString()),
									   CMessages::MSG_WARNING);
					continue;
				}
				if (mastri.GetRecord()->IsBalanceSheet())
					continue;
				if (LivelloConto(strConto) != UltimoLivelloRaggruppamento(rec))
					continue;

				UpdateDataView();

				raggrupp.Edit();
				rec.f_ContoPatrimoniale = pRiga->f_ContoPatrimoniale;
				raggrupp.Update();

				if (aggConti.FindRecord(esercizio, rec.f_Conto, FALSE) == TableReader::FOUND)
				{
					aggConti.GetRecord()->f_ContoCollegato = pRiga->f_ContoPatrimoniale;
					if (!aggConti.UpdateRecord())
						throw SqlException(CString::Formatted("Il conto %s dell'esercizio %d non è stato aggiornato.",
															  strConto.GetString(), int(esercizio)));
				}
				++nAggiornati;
			}
		}
		raggrupp.Close();
	}
	catch (const SqlException& e)
	{
		ASSERT_RELEASE_TRACE(e.IsKindOf(RUNTIME_CLASS(SqlException)), "Kvz_AssegnaContoPatrimDoc::OnBatchExecute",
							 kSource);
		e.ShowError();
	}
	return nAggiornati;
}

// ---- form --------------------------------------------------------------------------------------

void Kvz_AssegnaContoPatrimEdit::Customize()
{
	auto* pDoc = static_cast<Kvz_AssegnaContoPatrimDoc*>(GetDBT()->GetDocument());
	auto* pRec = static_cast<Kvz_TEnhRaggruppPdC*>(GetDBT()->GetRecord());
	AddColumn(IDC_CONTI_PATR_DAL_CONTO, _T("DalConto"), _T("Dal conto"), RUNTIME_CLASS(CStrEdit), pRec->l_DalConto, 15,
			  1, pDoc->GetHKLDalConto());
	AddColumn(IDC_CONTI_PATR_DES_DAL, _T("DescrizioneDal"), _T("Descrizione"), RUNTIME_CLASS(CStrStatic),
			  pRec->l_DescrDalConto, 20);
	AddColumn(IDC_CONTI_PATR_AL_CONTO, _T("AlConto"), _T("Al conto"), RUNTIME_CLASS(CStrEdit), pRec->l_AlConto, 15, 1,
			  pDoc->GetHKLAlConto());
	AddColumn(IDC_CONTI_PATR_DES_AL, _T("DescrizioneAl"), _T("Descrizione"), RUNTIME_CLASS(CStrStatic),
			  pRec->l_DescrAlConto, 20);
	AddColumn(IDC_CONTI_PATR_CONTO_PA, _T("ContoPatrimoniale"), _T("Conto patrimoniale"), RUNTIME_CLASS(CStrEdit),
			  pRec->f_ContoPatrimoniale, 15, 1, pDoc->GetHKLContoPatrim());
	AddColumn(IDC_CONTI_PATR_DES_CONTO_PA, _T("DescrizioneConto"), _T("Descrizione"), RUNTIME_CLASS(CStrStatic),
			  pRec->l_DescrContoPatrim, 20);
}

void Kvz_AssegnaContoPatrimView::BuildDataControlLinks()
{
	auto* pDoc = static_cast<Kvz_AssegnaContoPatrimDoc*>(GetDocument());
	AddLink(IDC_CONTI_PATR_GRID, _T("Conti patrimoniali"), RUNTIME_CLASS(Kvz_AssegnaContoPatrimEdit), pDoc->GetDBT());
	AddLink(IDC_CONTI_PATR_STATO_ELAB, _T("Stato dell'elaborazione:"), RUNTIME_CLASS(CStrStatic), &pDoc->m_StatoElab);
}
