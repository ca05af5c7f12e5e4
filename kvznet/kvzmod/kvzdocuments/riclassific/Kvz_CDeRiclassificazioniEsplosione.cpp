// The explosion of a model row's formula: its operands, each base-plan symbol's accounts and
// cost centres or jobs valued for a month and from January to it from the very rows the formula
// engine values the symbol from, printed by the report "KvzNet.KvzMod.EsplosFormula_Excel",
// which reads them back through two callbacks.
#include <algorithm>
#include <array>
#include <iterator>
#include <map>
#include <memory>
#include <tuple>
#include <vector>

#include "kvznet/kvzmod/kvzdbl/Kvz_TSimboliPianoBase.h"
#include "kvznet/kvzmod/kvzdocuments/formule/EsplodiFormulaDescr.h"
#include "kvznet/kvzmod/kvzdocuments/riclassific/Kvz_CDeRiclassificazioniDoc.h"
#include "kvznet/kvzmod/kvzdocuments/formule/MngFormula.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvgeneric/Interaction.h"
#include "platform/plvgenlib/CParsedCtrl.h"
#include "platform/plvgenlib/CommandManager.h"
#include "platform/plvrendoviewer/CRendoDoc.h"
#include "platform/plvrendoviewer/CRendoInfo.h"

namespace {
const char* const kSource = "Kvz_CDeRiclassificazioniDoc";
const char* const kReportEsplosione = "KvzNet.KvzMod.EsplosFormula_Excel";

enum : UINT
{
	IDD_PARAM_ESPOS_FORMULA = 54190,
	IDC_ESPOS_ESERCIZIO,
	IDC_ESPOS_MESE,
	IDC_ESPOS_PRINCIPALE,
	IDC_ESPOS_COLONNA_SI,
	IDC_ESPOS_COLONNA,
	IDC_ESPOS_SALDO,
	IDC_ESPOS_RATEO,
	IDC_ESPOS_ASSESTATO,
};

}  // namespace

// ---- the dialog --------------------------------------------------------------------------------

Kvz_ParamEsposFormulaDlg::Kvz_ParamEsposFormulaDlg(Kvz_CDeRiclassificazioniDoc* pDoc)
	: CParsedDialog(IDD_PARAM_ESPOS_FORMULA, pDoc, AfxLoadSourceString(_T("Parametri per esplosione formula"), kSource)),
	  m_pDoc(pDoc)
{
}

void Kvz_ParamEsposFormulaDlg::BuildDataControlLinks()
{
	AddLink(IDC_ESPOS_ESERCIZIO, _T("Esercizio:"), RUNTIME_CLASS(CIntEdit), &m_Esercizio);
	m_Esercizio.SetFieldRule(FieldRule::AnYear());
	AddLink(IDC_ESPOS_MESE, _T("Mese:"), RUNTIME_CLASS(CIntEdit), &m_Mese);
	AddRadio(IDC_ESPOS_PRINCIPALE, _T("Principale"), &m_bPrincipale, 1);
	AddRadio(IDC_ESPOS_COLONNA_SI, _T("Colonna numero:"), &m_bColonna, 1);
	AddLink(IDC_ESPOS_COLONNA, _T("Colonna"), RUNTIME_CLASS(CIntEdit), &m_Colonna);
	AddRadio(IDC_ESPOS_SALDO, _T("Saldo"), &m_bSaldo, 2);
	AddRadio(IDC_ESPOS_RATEO, _T("Rateo"), &m_bRateo, 2);
	AddRadio(IDC_ESPOS_ASSESTATO, _T("Totale assestato"), &m_bAssestato, 2);
}

BOOL Kvz_ParamEsposFormulaDlg::OnInitDialog()
{
	if (!CParsedDialog::OnInitDialog())
		return FALSE;
	m_Esercizio = m_pDoc->m_EsercizioEsplosione;
	m_Mese = m_pDoc->m_MeseEsplosione;
	m_Colonna = m_pDoc->m_ColonnaEsplosione;
	m_bSaldo = FALSE;
	m_bRateo = FALSE;
	m_bAssestato = TRUE;
	m_bPrincipale = m_Colonna < 1;
	m_bColonna = m_Colonna > 0;
	CenterWindow();
	return TRUE;
}

void Kvz_ParamEsposFormulaDlg::OnOK()
{
	m_pDoc->m_EsercizioEsplosione = m_Esercizio;
	m_pDoc->m_MeseEsplosione = m_Mese;
	m_pDoc->m_ColonnaEsplosione = m_bPrincipale ? DataInt(0) : m_Colonna;
	m_pDoc->m_bEsplosioneSaldo = m_bSaldo ? TRUE : FALSE;
	m_pDoc->m_bEsplosioneRateo = m_bRateo ? TRUE : FALSE;
	m_pDoc->m_bEsplosioneAssestato = m_bAssestato ? TRUE : FALSE;
	CParsedDialog::OnOK();
}

// ---- the command -------------------------------------------------------------------------------

void Kvz_CDeRiclassificazioniDoc::OnEsplodiFormula()
{
	Kvz_TRiclassificazioneRighe* pRiga = m_pDBTRighe->GetRigaCorrente();
	if (!pRiga)
		return;
	m_EsercizioEsplosione = GetTesta()->f_Esercizio;
	Kvz_ParamEsposFormulaDlg dlg(this);
	if (dlg.DoModal() != IDOK)
		return;

	BeginWaitCursor();
	m_RigheEsplosione.clear();
	m_FormulaEsplosa.Clear();
	const int colonna = m_ColonnaEsplosione.GetValue();
	// A column past the ten further formulas explodes nothing.
	if (colonna >= 0 && colonna <= 10)
	{
		CString formula = Kvz_DBTRiclassificRighe::Formula(pRiga, colonna).GetString();
		formula.Trim();
		m_FormulaEsplosa = formula;
	}
	if (m_FormulaEsplosa.IsEmpty())
	{
		EndWaitCursor();
		AfxMessageBox(CString::Formatted(AfxLoadSourceString("Nessuna formula da esplodere nella colonna %d del codice %s.",
															 kSource),
										 colonna, pRiga->f_CodRiclassificato.GetString().GetString()));
		return;
	}
	GetMessages()->Clear();
	CStringArray righe;
	Kvz_EsplodiFormulaDescr esplosione(GetMessages(), &righe);
	esplosione.AttachDefault(m_EsercizioEsplosione, m_MeseEsplosione, GetTesta()->f_ModelloRiclassific,
							 DataEnum(E_KVZ_TIPODATOPBASE, 0), pRiga->f_TipoRiga);
	esplosione.AttachFormula(m_FormulaEsplosa.GetString());
	const BOOL bOk = esplosione.Eval();
	if (bOk)
		ValutaEsplosione(esplosione.GetFlat());
	EndWaitCursor();
	GetMessages()->Show();
	if (!bOk)
		return;

	CPlvCommandInterface* pCmd = AfxGetPlvCmdManager();
	if (!pCmd)
		return;
	auto pInfo = std::make_unique<CRendoInfo>();
	pInfo->SetNamespace(CPLVNamespace(kReportEsplosione));
	pInfo->AddReport(CPLVNamespace(kReportEsplosione));
	pInfo->AddParam(_T("w_EsercizioInput"), GetTesta()->f_Esercizio);
	pInfo->AddParam(_T("w_ModelloInput"), GetTesta()->f_ModelloRiclassific);
	pInfo->AddParam(_T("w_CodRcl"), pRiga->f_CodRiclassificato);
	pInfo->AddParam(_T("w_DescrizioneModello"), pRiga->f_Descrizione);
	pInfo->AddParam(_T("w_FormulaInput"), m_FormulaEsplosa);
	pInfo->AddParam(_T("w_MeseEsplos"), m_MeseEsplosione);
	pInfo->AddParam(_T("w_ColonnaEsplos"), m_ColonnaEsplosione);
	pInfo->AddParam(_T("w_DescrizioneValore"), DataStr(m_bEsplosioneAssestato ? "Totale assestato"
													   : m_bEsplosioneSaldo   ? "Saldo"
																			  : "Rateo"));
	if (CRendoDoc* pReport = pCmd->RunReport(pInfo.release(), this))
		pCmd->ReleaseReport(pReport);
}

void Kvz_CDeRiclassificazioniDoc::ValutaEsplosione(const Kvz_FormulaFlat& flat)
{
	const int mese = std::clamp(m_MeseEsplosione.GetValue(), 1, 12);
	Kvz_TRSimboliPianoBase simboli(this);
	simboli.SetSqlSession(GetReadOnlySqlSession());
	const DataStr modello = GetTesta()->f_ModelloRiclassific;
	const WORD modo = m_bEsplosioneSaldo ? 1 : m_bEsplosioneRateo ? 2 : 3;

	// The engine that values the formula reads each symbol's rows, so the accounts are those it
	// sums: one engine per budget the symbols are met in (none, A, B, C).
	std::map<long, std::unique_ptr<Kvz_New_MngFormula>> motori;
	auto motore = [&](const Kvz_FormulaFlatElem& e) -> Kvz_New_MngFormula& {
		auto& p = motori[e.m_bFormulaBudget ? 1 + e.m_TipoBudget.GetItemValue() : 0];
		if (!p)
		{
			p = std::make_unique<Kvz_New_MngFormula>(GetMessages());
			p->AttachDefault(m_EsercizioEsplosione, DataInt(1), DataInt(mese), modello,
							 DataEnum(E_KVZ_TIPODATOPBASE, modo), DataEnum());
			if (e.m_bFormulaBudget)
				p->AttachFormulaBudget(CString(), e.m_TipoBudget);
		}
		return *p;
	};

	for (int i = 0; i < flat.GetSize(); ++i)
	{
		const Kvz_FormulaFlatElem& e = *flat.GetElem(i);
		Kvz_RigaEsplosione riga;
		riga.Titolo = e.m_bTesto;
		riga.Testo = e.m_Testo;
		riga.TipoSimbolo = e.m_Tipo;
		riga.Descrizione = e.m_Descrizione;
		riga.Livello = e.m_Livello;
		m_RigheEsplosione.push_back(riga);
		if (e.m_bTesto || e.m_Tipo.GetItemValue() != 0 ||
			simboli.FindRecord(m_EsercizioEsplosione, e.m_Testo, modello) != TableReader::FOUND)
			continue;
		const Kvz_TSimboliPianoBase def = *simboli.GetRecord();
		const bool bElenco = def.f_TipoOpeConto.GetItemValue() == 8;
		auto& dettagli = m_RigheEsplosione.back().Dettagli;
		// The lines a group of rows goes to: a list's entries that take it, or its account.
		std::multimap<CString, size_t> perChiave;
		for (int k = 0; k < e.m_Dettagli.GetSize(); ++k)
		{
			const Kvz_FormulaFlatElem& d = *e.m_Dettagli.GetElem(k);
			Kvz_RigaEsplosione::Dettaglio r;
			const CString segno = d.m_Segno.IsEmpty() ? CString() : d.m_Segno.FormatData();
			const bool bCentro = d.m_Tipo.GetItemValue() == 5;
			if (d.m_Conto.IsEmpty())
			{
				r.Testi[bCentro ? 4 : 1] = d.m_Testo;
				r.Testi[bCentro ? 5 : 2] = d.m_Descrizione;
				r.Testi[bCentro ? 3 : 0] = segno;
			}
			else
			{
				r.Testi[1] = d.m_Conto;
				r.Testi[2] = d.m_DescrConto;
				r.Testi[3] = r.Testi[0] = segno;
				r.Testi[4] = d.m_Testo;
				r.Testi[5] = d.m_Descrizione;
			}
			dettagli.push_back(r);
			if (bElenco && d.m_bVoce)
				perChiave.emplace(Kvz_New_MngFormula::ChiaveVoce(def, d.m_VoceConto.GetString(), d.m_VoceCentro.GetString(),
																 d.m_VoceTipoCentro.GetValue()),
								  dettagli.size() - 1);
			else if (!bElenco)
				perChiave.emplace(Kvz_New_MngFormula::ChiaveTesto(d.m_Testo.GetString()), dettagli.size() - 1);
		}
		// Another company's rows are not this database's: its lines stay without amounts.
		if (e.m_bAziendaEsterna)
			continue;

		std::vector<std::array<double, 12>> valori(dettagli.size());
		std::array<bool, 12> mesiLetti{};
		bool bUnMese = false;
		// Rows of one account and centre mostly come one after the other (a month each): their
		// lines are looked up once.
		bool bUltima = false;
		Kvz_New_MngFormula::RigaPianoBase ultima;
		std::multimap<CString, size_t>::iterator da, a;
		motore(e).LeggiRighePianoBase(
			def,
			[&](const Kvz_New_MngFormula::RigaPianoBase& r) {
				if (r.mese < 1 || r.mese > 12)
					return;
				if (!bUltima || r.tipoCentro != ultima.tipoCentro || r.conto != ultima.conto || r.centro != ultima.centro)
				{
					const CString chiave = bElenco ? Kvz_New_MngFormula::ChiaveRiga(def, r)
												   : Kvz_New_MngFormula::ChiaveTesto(r.conto);
					std::tie(da, a) = perChiave.equal_range(chiave);
					if (da == a && !bElenco)
					{
						// An account of the rows that the register lacks still gets its line.
						Kvz_RigaEsplosione::Dettaglio nuovo;
						nuovo.Testi[1] = r.conto;
						dettagli.push_back(nuovo);
						valori.emplace_back();
						da = perChiave.emplace(chiave, dettagli.size() - 1);
						a = std::next(da);
					}
					ultima = r;
					bUltima = true;
				}
				if (da == a)
					return;  // taken by no entry of the list
				mesiLetti[static_cast<size_t>(r.mese - 1)] = true;
				for (auto it = da; it != a; ++it)
					valori[it->second][static_cast<size_t>(r.mese - 1)] += r.valore;
			},
			bUnMese);
		// As the engine: a symbol of one month is that month in every month; otherwise a month
		// without rows is 0.
		const auto primo = std::find(mesiLetti.begin(), mesiLetti.end(), true);
		const bool bRiempi = bUnMese && primo != mesiLetti.end();
		for (size_t k = 0; k < dettagli.size(); ++k)
		{
			std::array<double, 12>& v = valori[k];
			if (bRiempi)
			{
				const double x = v[static_cast<size_t>(primo - mesiLetti.begin())];
				for (size_t m = 0; m < 12; ++m)
					if (!mesiLetti[m])
						v[m] = x;
			}
			double progr = 0;
			for (int m = 0; m < mese; ++m)
				progr += v[static_cast<size_t>(m)];
			dettagli[k].Importi[0] = v[static_cast<size_t>(mese - 1)];
			dettagli[k].Importi[1] = progr;
		}
	}
}
