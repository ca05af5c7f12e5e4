// The adjustments document's entry of figures before the save: cell edits, even splits, the
// evening out of book balances over a range, the copy of a month; the progressive columns and
// the comparison with the prior year and the budget.
#include <cmath>
#include <cstring>

#include "kvznet/kvzmod/kvzdbl/Kvz_TBudgetRighe.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TBudgetTesta.h"
#include "kvznet/kvzmod/kvzdocuments/pianobase/Kvz_CAssestamentoDoc.h"
#include "kvznet/kvzmod/kvzdocuments/pianobase/Kvz_CAssestamentoInterno.h"
#include "kvznet/kvzmod/kvzdocuments/pianobase/Kvz_CBudgetDoc.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvgeneric/FormatHelpers.h"
#include "platform/plvgeneric/Interaction.h"
#include "platform/plvnamesolver/ApplicationContext.h"
#include "platform/plvoledb/SqlException.h"

namespace {
using kvzdocuments::assestamento::ImportiPerMese;
using kvzdocuments::assestamento::kSource;
using kvzdocuments::assestamento::Testo;
using kvzdocuments::assestamento::MostraErrore;
using kvzdocuments::assestamento::IsZeroMon;

const char* const kCentriConAssestamenti = "Ci sono commesse/centri di costo con assestamenti legati a questo conto.";
const char* const kCaratteriRange = "0123456789,- ";

double Round2(double v)
{
	return FormatHelpers::RoundDecimals(v, 2);
}

// (delta / base) x 100 to the cent, 0 on a zero base.
double Percentuale(double delta, double base)
{
	return IsZeroMon(base) ? 0.0 : Round2(delta / base * 100.0);
}
}  // namespace

void Kvz_RigaConfronto::Clear()
{
	for (DataObj* p : std::initializer_list<DataObj*>{&Precedente, &Budget, &Inserito, &DeltaPrec, &DeltaPrecPerc,
													  &DeltaBudget, &DeltaBudgetPerc})
		p->Clear();
}

// ---- totals and comparison ---------------------------------------------------------------------

void Kvz_CAssestamentoDoc::RicalcolaTotali(int nRigaCorrente)
{
	DataMon s, a, t, p, b;
	for (int i = 0; i < m_pDBTRighe->GetSize(); ++i)
	{
		Kvz_TEnhPianoBaseRighe* pRiga = m_pDBTRighe->GetRiga(i);
		s += pRiga->f_SaldoContabile;
		// A balance sheet's adjusted figures are running balances already.
		if (m_bPatrimoniale)
		{
			a = pRiga->f_ImportoRateo;
			t = pRiga->f_TotaleAssestato;
		}
		else
		{
			a += pRiga->f_ImportoRateo;
			t += pRiga->f_TotaleAssestato;
		}
		p += pRiga->l_ConsuntAnnoPrec;
		b += pRiga->l_BudgetAnnoCorr;
		pRiga->l_ProgSaldoContabile = s;
		pRiga->l_ProgImportoRateo = a;
		pRiga->l_ProgTotaleAssestato = t;
		pRiga->l_ProgConsuntAnnoPrec = p;
		pRiga->l_ProgBudgetAnnoCorr = b;
	}
	const Kvz_TEnhPianoBaseRighe* pRiga = m_pDBTRighe->GetRiga(nRigaCorrente);
	if (nRigaCorrente >= 0 && pRiga)
	{
		auto calcola = [](Kvz_RigaConfronto& c, double prec, double budget, double inserito) {
			c.Precedente = prec;
			c.Budget = budget;
			c.Inserito = inserito;
			c.DeltaPrec = inserito - prec;
			c.DeltaBudget = inserito - budget;
			c.DeltaPrecPerc = Percentuale(c.DeltaPrec, prec);
			c.DeltaBudgetPerc = Percentuale(c.DeltaBudget, budget);
		};
		calcola(m_Mese, pRiga->l_ConsuntAnnoPrec, pRiga->l_BudgetAnnoCorr, pRiga->f_TotaleAssestato);
		calcola(m_Progressivi, pRiga->l_ProgConsuntAnnoPrec, pRiga->l_ProgBudgetAnnoCorr, pRiga->l_ProgTotaleAssestato);
		// The months elapsed are the row's month: a plan may lack some months.
		const int nMese = pRiga->f_Mese;
		const double n = nMese >= 1 && nMese <= 12 ? nMese : nRigaCorrente + 1;
		auto proietta = [n](double v) { return Round2(v / n * 12.0); };
		m_Proiezione.Precedente = proietta(m_Progressivi.Precedente);
		m_Proiezione.Budget = proietta(m_Progressivi.Budget);
		m_Proiezione.Inserito = proietta(m_Progressivi.Inserito);
		m_Proiezione.DeltaPrec = proietta(m_Progressivi.DeltaPrec);
		m_Proiezione.DeltaBudget = proietta(m_Progressivi.DeltaBudget);
		// Each difference over its own base, as in the other two rows.
		m_Proiezione.DeltaPrecPerc = Percentuale(m_Proiezione.DeltaPrec, m_Proiezione.Precedente);
		m_Proiezione.DeltaBudgetPerc = Percentuale(m_Proiezione.DeltaBudget, m_Proiezione.Budget);
	}
	UpdateDataView();
}

void Kvz_CAssestamentoDoc::RicalcolaCorrente()
{
	RicalcolaTotali(RigaCorrente());
}

DataLng Kvz_CAssestamentoDoc::CercaBudget()
{
	try
	{
		Kvz_TBudgetTesta rec;
		SqlTable table(&rec, GetReadOnlySqlSession(), this);
		table.Open(FALSE, FALSE, TRUE);
		table.Select(rec.f_IDBudget);
		table.AddParam(_T("p1"), rec.f_ContoKvz);
		table.AddFilterColumn(rec.f_ContoKvz);
		table.AddParam(_T("p2"), rec.f_TipoBudget);
		table.AddFilterColumn(rec.f_TipoBudget);
		table.AddParam(_T("p3"), rec.f_Esercizio);
		table.AddFilterColumn(rec.f_Esercizio);
		table.AddParam(_T("p4"), rec.f_CentroCommessa);
		table.AddFilterColumn(rec.f_CentroCommessa);
		table.AddParam(_T("p5"), rec.f_TipoCentroComm);
		table.AddFilterColumn(rec.f_TipoCentroComm);
		table.AddSortColumn(rec.f_IDBudget);
		table.SetParamValue(_T("p1"), m_ContoSel.f_ContoKvz);
		table.SetParamValue(_T("p2"), m_TipoBudget);
		table.SetParamValue(_T("p3"), m_Anno);
		table.SetParamValue(_T("p4"), m_CentroCommessa);
		table.SetParamValue(_T("p5"), m_TipoCentroComm);
		table.Query();
		const DataLng id = table.IsEOF() ? DataLng(0) : rec.f_IDBudget;
		table.Close();
		return id;
	}
	catch (const SqlException& e)
	{
		MostraErrore(e, "Kvz_CAssestamentoDoc::CercaBudget");
		return DataLng(0);
	}
}

void Kvz_CAssestamentoDoc::CaricaDatiBudget()
{
	const DataLng id = CercaBudget();
	if (id != 0)
	{
		// Every month of the budget in one read; a month it lacks has no budget.
		std::array<double, 13> budget{};
		try
		{
			ImportiPerMese(GetReadOnlySqlSession(), this, &Kvz_TBudgetRighe::f_IDBudget, id,
						   &Kvz_TBudgetRighe::f_ImportoMese, budget);
		}
		catch (const SqlException& e)
		{
			MostraErrore(e, "Kvz_CAssestamentoDoc::CaricaDatiBudget");
		}
		for (int i = 0; i < m_pDBTRighe->GetSize(); ++i)
		{
			Kvz_TEnhPianoBaseRighe* pRiga = m_pDBTRighe->GetRiga(i);
			const int nMese = pRiga->f_Mese;
			pRiga->l_BudgetAnnoCorr = nMese >= 1 && nMese <= 12 ? budget[static_cast<size_t>(nMese)] : 0.0;
		}
	}
	if (m_pDBTRighe->GetSize() > 0)
		RicalcolaTotali(std::max(RigaCorrente(), 0));
	UpdateDataView();
}

void Kvz_CAssestamentoDoc::AzzeraBudget()
{
	for (int i = 0; i < m_pDBTRighe->GetSize(); ++i)
		m_pDBTRighe->GetRiga(i)->l_BudgetAnnoCorr.Clear();
	if (m_pDBTRighe->GetSize() > 0)
		RicalcolaTotali(std::max(RigaCorrente(), 0));
	UpdateDataView();
}

void Kvz_CAssestamentoDoc::AggiornaStatoRiga(Kvz_TEnhPianoBaseRighe* pRiga)
{
	if (!pRiga)
		return;
	const BOOL bDifferenza = pRiga->f_GiaImportato && !pRiga->f_SaldoDiffAccettato &&
							 !IsZeroMon(pRiga->f_SaldoPrecedente - pRiga->f_SaldoContabile);
	pRiga->l_StatusBmp = bDifferenza ? KVZ_BMP_ASS_PALLINO_ROSSO : KVZ_BMP_ASS_NORMALE;
	UpdateDataView();
}

BOOL Kvz_CAssestamentoDoc::ControllaPresenzaCentriComm()
{
	const Kvz_TEnhPianoBaseRighe* pCorrente = m_pDBTRighe->GetCurrentRiga();
	if (!pCorrente)
		return FALSE;
	try
	{
		Kvz_TPianoBaseRighe rec;
		SqlTable table(&rec, GetReadOnlySqlSession(), this);
		table.Open(FALSE, FALSE, TRUE);
		table.Select(rec.f_IDPianoBase);
		table.AddParam(_T("p1"), rec.f_Esercizio);
		table.AddFilterColumn(rec.f_Esercizio);
		table.AddParam(_T("p2"), rec.f_ContoKvz);
		table.AddFilterColumn(rec.f_ContoKvz);
		table.AddParam(_T("p3"), rec.f_CentroCommessa);
		table.AddFilterColumn(rec.f_CentroCommessa, _T("<>"));
		table.AddParam(_T("p4"), rec.f_ImportoRateo);
		table.m_strFilter += CString::Formatted(" AND ABS(%s) > ?", table.GetColumnName(rec.f_ImportoRateo).GetString());
		table.SetParamValue(_T("p1"), pCorrente->f_Esercizio);
		table.SetParamValue(_T("p2"), pCorrente->f_ContoKvz);
		table.SetParamValue(_T("p3"), DataStr());
		table.SetParamValue(_T("p4"), DataMon(GetMonEpsilon()));
		table.Query();
		const BOOL bTrovato = !table.IsEOF();
		table.Close();
		return bTrovato;
	}
	catch (const SqlException& e)
	{
		MostraErrore(e, "Kvz_CAssestamentoDoc::ControllaPresenzaCentriComm");
		return FALSE;
	}
}

void Kvz_CAssestamentoDoc::AssegnaImportoMesi(int nDalMese, int nAlMese, const DataMon& importo,
											   BOOL bPerAssestamento)
{
	std::vector<Kvz_TEnhPianoBaseRighe*> righe;
	for (int i = 0; i < m_pDBTRighe->GetSize(); ++i)
		if (int nMese = m_pDBTRighe->GetRiga(i)->f_Mese; nMese >= nDalMese && nMese <= nAlMese)
			righe.push_back(m_pDBTRighe->GetRiga(i));
	bool bDettagli = false;
	for (const Kvz_TEnhPianoBaseRighe* pRiga : righe)
		bDettagli = bDettagli || pRiga->l_ConDettaglio;
	if (bDettagli && AfxMessageBox(Testo(_T("Ci sono dei dettagli assestamenti presenti. Si vuole cancellarli?")),
								   MB_YESNO | MB_ICONQUESTION) == IDYES)
		// Deleted by the save: an empty pending array replaces the month's lines, so that
		// "Ripristina" or No to the save question keeps them.
		for (Kvz_TEnhPianoBaseRighe* pRiga : righe)
			if (pRiga->l_ConDettaglio || GetArrayDettaglio(pRiga->f_Mese))
			{
				pRiga->l_ConDettaglio = FALSE;
				SetArrayDettaglio(pRiga->f_Mese, std::make_unique<Kvz_ArrayDettaglioRiga>());
			}
	for (Kvz_TEnhPianoBaseRighe* pRiga : righe)
		if (bPerAssestamento)
		{
			pRiga->f_ImportoRateo = importo;
			pRiga->f_TotaleAssestato = pRiga->f_SaldoContabile + pRiga->f_ImportoRateo;
		}
		else
		{
			pRiga->f_TotaleAssestato = importo;
			pRiga->f_ImportoRateo = pRiga->f_TotaleAssestato - pRiga->f_SaldoContabile;
		}
}

// ---- what the user changes ---------------------------------------------------------------------

void Kvz_CAssestamentoDoc::FiguraDigitata(BOOL bRateo)
{
	Kvz_TEnhPianoBaseRighe* pRiga = m_pDBTRighe->GetCurrentRiga();
	if (!pRiga)
		return;
	DataMon& digitata = bRateo ? pRiga->f_ImportoRateo : pRiga->f_TotaleAssestato;
	if (pRiga->l_ConDettaglio)
	{
		SetWarning(Testo(_T("Per modificare l'importo agire sul dettaglio della riga.")));
		if (const DataObj* pOld = AfxGetOldCtrlData())
			digitata = static_cast<const DataDbl&>(*pOld).GetValue();
		UpdateDataView();
		return;
	}
	if (bRateo)
		pRiga->f_TotaleAssestato = pRiga->f_SaldoContabile + pRiga->f_ImportoRateo;
	else
		pRiga->f_ImportoRateo = pRiga->f_TotaleAssestato - pRiga->f_SaldoContabile;
	if (pRiga->f_CentroCommessa.IsEmpty() && ControllaPresenzaCentriComm())
		AfxMessageBox(Testo(kCentriConAssestamenti), MB_OK | MB_ICONINFORMATION);
	RicalcolaCorrente();
	SegnaModificato();
	UpdateDataView();
}

void Kvz_CAssestamentoDoc::OnImportoRateoChanged()
{
	FiguraDigitata(TRUE);
}

void Kvz_CAssestamentoDoc::OnTotaleAssestatoChanged()
{
	FiguraDigitata(FALSE);
}

void Kvz_CAssestamentoDoc::OnOkChanged()
{
	AggiornaStatoRiga(m_pDBTRighe->GetCurrentRiga());
	SegnaModificato();
	UpdateDataView();
}

void Kvz_CAssestamentoDoc::OnTipoBudgetChanged()
{
	SegnaModificato();
	m_pTRPianoBaseTesta->GetRecord()->f_TipoBudget = m_TipoBudget;
	if (m_TipoBudget.GetItemValue() == 3)
	{
		AzzeraBudget();
		return;
	}
	if (CercaBudget() != 0)
	{
		CaricaDatiBudget();
		UpdateDataView();
		return;
	}
	AfxMessageBox(CString::Formatted(Testo(_T("Attenzione: non e' stato definito il budget di tipo %s per il conto %s "
											  "anno %s.")).GetString(),
									 m_TipoBudget.FormatData().GetString(),
									 m_ContoSel.f_ContoKvz.GetString().GetString(), m_Anno.FormatData().GetString()));
	AzzeraBudget();
}

void Kvz_CAssestamentoDoc::OnRipartizione()
{
	SegnaModificato();
	if (m_pDBTRighe->GetSize() == 0)
		return;
	if (RigaCorrente() < 0)
		m_pDBTRighe->SetCurrentRow(0);
	if (m_pDBTRighe->GetCurrentRiga()->f_CentroCommessa.IsEmpty() && ControllaPresenzaCentriComm())
		AfxMessageBox(Testo(kCentriConAssestamenti), MB_OK | MB_ICONINFORMATION);
	if (m_bRipartTotale)
		AssegnaImportoMesi(1, 12, DataMon(Round2(m_Totale / 12.0)), m_bPerImporto);
	else
		for (int q = 1; q <= 4; ++q)
		{
			const DataMon& trimestre = m_Trimestri[static_cast<size_t>(q - 1)];
			// A quarter of zero or less leaves its months as they are.
			if (trimestre <= GetMonEpsilon())
				continue;
			AssegnaImportoMesi(3 * (q - 1) + 1, 3 * q, DataMon(Round2(trimestre / 3.0)), m_bPerImporto);
		}
	RicalcolaCorrente();
	UpdateDataView();
}

void Kvz_CAssestamentoDoc::OnRipartizioneSaldi()
{
	const Kvz_TEnhPianoBaseRighe* pCorrente = m_pDBTRighe->GetCurrentRiga();
	if (m_SoloLettura || !pCorrente)
		return;
	m_RangeRipartizione = CString::Formatted("1-%d", int(pCorrente->f_Mese));
	Kvz_RangeRipSaldiDlg dlg(this);
	if (dlg.DoModal() != IDOK)
		return;
	const Kvz_RangeMesi range = Kvz_LeggiRangeMesi(m_RangeRipartizione.GetString());
	if (!range.valido)
	{
		AfxMessageBox(Testo(_T("Il range indicato contiene caratteri non validi.")), MB_OK | MB_ICONERROR);
		return;
	}
	// The months marked that the plan holds.
	std::vector<Kvz_TEnhPianoBaseRighe*> righe;
	DataMon somma;
	for (int i = 0; i < m_pDBTRighe->GetSize(); ++i)
		if (int nMese = m_pDBTRighe->GetRiga(i)->f_Mese; nMese >= 1 && nMese <= 12 && range.mesi[nMese])
		{
			righe.push_back(m_pDBTRighe->GetRiga(i));
			somma += m_pDBTRighe->GetRiga(i)->f_SaldoContabile;
		}
	if (righe.empty())
		return;
	SegnaModificato();
	const double media = Round2(somma / static_cast<double>(righe.size()));
	for (Kvz_TEnhPianoBaseRighe* pRiga : righe)
	{
		pRiga->f_TotaleAssestato = media;
		pRiga->f_ImportoRateo = pRiga->f_TotaleAssestato - pRiga->f_SaldoContabile;
	}
	RicalcolaCorrente();
	UpdateDataView();
}

void Kvz_CAssestamentoDoc::OnCopiaDalMese()
{
	Kvz_TEnhPianoBaseRighe* pCorrente = m_pDBTRighe->GetCurrentRiga();
	const int nDa = m_MeseDa;
	if (!pCorrente || nDa < 1 || nDa > 12)
		return;
	const Kvz_TEnhPianoBaseRighe* pOrigine = m_pDBTRighe->GetRigaMese(nDa);
	if (!pOrigine)
		return;
	const double segno = m_bInvertiSegno ? -1.0 : 1.0;
	if (m_bPerImporto)
	{
		pCorrente->f_ImportoRateo = pOrigine->f_ImportoRateo * segno;
		pCorrente->f_TotaleAssestato = pCorrente->f_SaldoContabile + pCorrente->f_ImportoRateo;
	}
	else
	{
		pCorrente->f_TotaleAssestato = pOrigine->f_TotaleAssestato * segno;
		pCorrente->f_ImportoRateo = pCorrente->f_TotaleAssestato - pCorrente->f_SaldoContabile;
	}
	// Copied figures are changes like typed ones: the save question guards them.
	SegnaModificato();
	RicalcolaCorrente();
	UpdateDataView();
}

// ---- range dialog ------------------------------------------------------------------------------

Kvz_RangeRipSaldiDlg::Kvz_RangeRipSaldiDlg(Kvz_CAssestamentoDoc* pDoc)
	: CParsedDialog(IDD_RANGE_RIP_SALDI, pDoc, AfxLoadSourceString(_T("Range mesi per ripartizione saldi"), kSource)),
	  m_pDoc(pDoc)
{
}

void Kvz_RangeRipSaldiDlg::BuildDataControlLinks()
{
	AddLink(IDC_RANGE_RIP_SALDI_TESTO, _T("Immettere un range per la ripartizione dei saldi :"), RUNTIME_CLASS(CStrEdit),
			&m_Range);
}

BOOL Kvz_RangeRipSaldiDlg::OnInitDialog()
{
	CParsedDialog::OnInitDialog();
	m_Range = m_pDoc->m_RangeRipartizione;
	CenterWindow();
	return TRUE;
}

void Kvz_RangeRipSaldiDlg::OnOK()
{
	const CString testo = m_Range.GetString();
	for (int i = 0; i < testo.GetLength(); ++i)
		if (!std::strchr(kCaratteriRange, testo[i]) || testo[i] == '\0')
		{
			AfxMessageBox(Testo(_T("Il range indicato contiene caratteri non validi.")), MB_OK | MB_ICONERROR);
			return;
		}
	m_pDoc->m_RangeRipartizione = m_Range;
	EndDialog(IDOK);
}
