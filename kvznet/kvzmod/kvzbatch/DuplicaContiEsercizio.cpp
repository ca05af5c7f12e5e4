#include "kvznet/kvzmod/kvzbatch/DuplicaContiEsercizio.h"

#include <algorithm>

#include "kvznet/kvzmod/kvzdbl/Kvz_TAnagContiKvz.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TCentriCommesseContiKvz.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvgeneric/Interaction.h"
#include "platform/plvnamesolver/ApplicationContext.h"

namespace {
const char* const kSource = "DuplicaContiEsercizio";

enum : UINT
{
	IDC_DUP_ESERC_DA = 31804,
	IDC_DUP_ESERC_A,
	IDC_DUP_STATO_ELAB,
	IDC_DUP_ANCHE_COMMCDC,
};

// Years a company's books can have: a typed 0 or a mistyped 20260 is refused.
bool EsercizioValido(const DataInt& anno)
{
	return anno >= 1900 && anno <= 9999;
}
}  // namespace

Kvz_CDuplicaContiEsercizioDoc::Kvz_CDuplicaContiEsercizioDoc()
	: m_EsercizioDa(AfxGetApplicationDate().Year()),
	  m_EsercizioA(AfxGetApplicationDate().Year() + 1),
	  m_ContatoreConti(0),
	  m_AncheCommCdc(TRUE)
{
}

BOOL Kvz_CDuplicaContiEsercizioDoc::OnAttachData()
{
	SetFormTitle(_T("Duplica PDC"));
	return TRUE;
}

void Kvz_CDuplicaContiEsercizioDoc::OnBatchExecute()
{
	// The years are checked before the transaction opens, so that a refusal leaves none open.
	const struct
	{
		const DataInt& anno;
		UINT nID;
		LPCTSTR szVuoto;
		LPCTSTR szErrato;
	} controlli[] = {
		{m_EsercizioDa, IDC_DUP_ESERC_DA, _T("Indicare l'esercizio di origine."),
		 _T("L'esercizio di origine %d non è valido.")},
		{m_EsercizioA, IDC_DUP_ESERC_A, _T("Indicare l'esercizio di destinazione."),
		 _T("L'esercizio di destinazione %d non è valido.")},
	};
	for (const auto& c : controlli)
		if (!EsercizioValido(c.anno))
		{
			AfxMessageBox(c.anno == 0 ? CString(c.szVuoto) : CString::Formatted(c.szErrato, int(c.anno)));
			SetCtrlFocus(c.nID);
			m_bBatchNotStarted = true;  // a refused run is no success
			return;
		}
	if (!StartBatchTransaction())
		return;

	BeginWaitCursor();
	DuplicaPdc();
	m_StatoElab = GetScheduler()->IsAborted()
					  ? CString(_T("Elaborazione interrotta su richiesta utente."))
					  : CString::Formatted("Elaborazione terminata. Inseriti %ld conti.", long(m_ContatoreConti));
	SetProgressText(m_StatoElab.GetString());
	// A mistyped source year would otherwise end as a quiet success.
	if (m_ContatoreConti == 0 && !GetScheduler()->IsAborted())
		GetMessages()->Add(CString::Formatted("Nessun conto raggruppato nell'esercizio %d: nulla da duplicare.",
											  int(m_EsercizioDa)),
						   CMessages::MSG_WARNING);
	EndWaitCursor();
	UpdateDataView();
	GetMessages()->Show();
	GetContext()->Commit();
}

void Kvz_CDuplicaContiEsercizioDoc::DuplicaPdc()
{
	m_ContatoreConti = 0;
	try
	{
		Kvz_TEnhAnagContiKvz conto;
		SqlTable conti(&conto, GetReadOnlySqlSession(), this);
		conti.Open(FALSE);
		conti.SelectAll();
		conti.AddParam("p1", conto.f_Esercizio);
		conti.AddFilterColumn(conto.f_Esercizio);
		conti.AddSortColumn(conto.f_ContoKvz);
		conti.SetParamValue("p1", m_EsercizioDa);

		Kvz_TUAnagContiKvz aggConti(this, GetMessages());
		aggConti.SetSqlSession(GetUpdatableSqlSession());
		aggConti.SetAutocommit(TRUE);
		Kvz_TUCentriCommesseContiKvz aggCentri(this, GetMessages());
		aggCentri.SetSqlSession(GetUpdatableSqlSession());
		aggCentri.SetAutocommit(TRUE);

		Kvz_TCentriCommesseContiKvz centro;
		SqlTable centri(&centro, GetReadOnlySqlSession(), this);
		if (m_AncheCommCdc)
		{
			centri.Open(FALSE);
			centri.SelectAll();
			centri.AddParam("p1", centro.f_Esercizio);
			centri.AddFilterColumn(centro.f_Esercizio);
			centri.AddParam("p2", centro.f_ContoKvz);
			centri.AddFilterColumn(centro.f_ContoKvz);
			centri.SetParamValue("p1", m_EsercizioDa);
		}

		long nConti = 0, nConto = 0;
		{
			// The count first, for the progress.
			Kvz_TEnhAnagContiKvz contato;
			DataLng n;
			SqlTable conta(&contato, GetReadOnlySqlSession(), this);
			conta.Open(FALSE);
			conta.SelectSqlFun("COUNT(*)", n);
			conta.AddParam("p1", contato.f_Esercizio);
			conta.AddFilterColumn(contato.f_Esercizio);
			conta.SetParamValue("p1", m_EsercizioDa);
			conta.Query();
			nConti = conta.IsEOF() ? 0 : static_cast<long>(n);
			conta.Close();
		}
		for (conti.Query(); !conti.IsEOF(); conti.MoveNext())
		{
			if (GetScheduler()->IsAborted())
				break;
			++nConto;
			m_StatoElab = CString::Formatted("Conto %s %s (%ld di %ld) ...", conto.f_ContoKvz.GetString().GetString(),
											 conto.f_Descrizione.GetString().GetString(), nConto,
											 std::max(nConto, nConti));
			SetProgressText(m_StatoElab.GetString());
			UpdateDataView();

			// Found or not, the row becomes the source's: every column, in the new year.
			aggConti.FindRecord(m_EsercizioA, conto.f_ContoKvz, FALSE);
			Kvz_TEnhAnagContiKvz* pNuovo = aggConti.GetRecord();
			*pNuovo = conto;
			pNuovo->f_Esercizio = m_EsercizioA;
			if (!aggConti.UpdateRecord())
				throw SqlException(CString::Formatted("Il conto %s non è stato scritto nell'esercizio %d.",
													  conto.f_ContoKvz.GetString().GetString(), int(m_EsercizioA)));
			m_ContatoreConti = long(m_ContatoreConti) + 1;

			if (!m_AncheCommCdc)
				continue;
			centri.SetParamValue("p2", conto.f_ContoKvz);
			for (centri.Query(); !centri.IsEOF(); centri.MoveNext())
			{
				aggCentri.FindRecord(m_EsercizioA, centro.f_ContoKvz, centro.f_CentroCommessa, centro.f_Tipo, FALSE);
				Kvz_TCentriCommesseContiKvz* pRiga = aggCentri.GetRecord();
				*pRiga = centro;
				pRiga->f_Esercizio = m_EsercizioA;
				if (!aggCentri.UpdateRecord())
					throw SqlException(CString::Formatted("Il centro/commessa %s del conto %s non è stato scritto.",
														  centro.f_CentroCommessa.GetString().GetString(),
														  centro.f_ContoKvz.GetString().GetString()));
			}
		}
		if (m_AncheCommCdc)
			centri.Close();
		conti.Close();
	}
	catch (const SqlException& e)
	{
		ASSERT_RELEASE_TRACE(e.IsKindOf(RUNTIME_CLASS(SqlException)), "Kvz_CDuplicaContiEsercizioDoc::DuplicaPdc",
							 kSource);
		e.ShowError();
	}
}

void Kvz_CDuplicaContiEsercizioView::BuildDataControlLinks()
{
	auto* pDoc = static_cast<Kvz_CDuplicaContiEsercizioDoc*>(GetDocument());
	AddLink(IDC_DUP_ESERC_DA, _T("Duplicare il piano dei conti a partire dall'esercizio:"), RUNTIME_CLASS(CIntEdit),
			&pDoc->m_EsercizioDa);
	pDoc->m_EsercizioDa.SetFieldRule(FieldRule::AnYear());
	AddLink(IDC_DUP_ESERC_A, _T("nel nuovo esercizio:"), RUNTIME_CLASS(CIntEdit), &pDoc->m_EsercizioA);
	pDoc->m_EsercizioA.SetFieldRule(FieldRule::AnYear());
	AddLink(IDC_DUP_ANCHE_COMMCDC, _T("Anche commesse e centri di costo"), RUNTIME_CLASS(CBoolButton),
			&pDoc->m_AncheCommCdc);
	AddLink(IDC_DUP_STATO_ELAB, _T("Stato elaborazione"), RUNTIME_CLASS(CStrStatic), &pDoc->m_StatoElab);
}
