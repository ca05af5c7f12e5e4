// The explosion of a model row's formula: its operands, each base-plan symbol's accounts and
// cost centres or jobs valued over the base plan for a month and from January to it, printed by
// the report "KvzNet.KvzMod.EsplosFormula_Excel", which reads them back through two callbacks.
#include <algorithm>
#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <tuple>

#include "kvznet/kvzmod/kvzdbl/Kvz_TPianoBaseRighe.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TSimboliPianoBase.h"
#include "kvznet/kvzmod/kvzdocuments/EsplodiFormulaDescr.h"
#include "kvznet/kvzmod/kvzdocuments/Kvz_CDeRiclassificazioniDoc.h"
#include "kvznet/kvzmod/kvzdocuments/MngFormulaErrori.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvgeneric/Interaction.h"
#include "platform/plvgenlib/CParsedCtrl.h"
#include "platform/plvgenlib/CommandManager.h"
#include "platform/plvoledb/SqlTable.h"
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

// The base-plan amounts of one group of rows, month by month.
struct Importi
{
	double saldo = 0, assestato = 0, rateo = 0;
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
	pInfo->AddParam(_T("w_DescrizioneValore"), DataStr(m_bEsplosioneAssestato ? "Totale assestato"
													   : m_bEsplosioneSaldo   ? "Saldo"
																			  : "Rateo"));
	if (CRendoDoc* pReport = pCmd->RunReport(pInfo.release(), this))
		pCmd->ReleaseReport(pReport);
}

void Kvz_CDeRiclassificazioniDoc::ValutaEsplosione(const Kvz_FormulaFlat& flat)
{
	const int mese = m_MeseEsplosione.GetValue();
	Kvz_TRSimboliPianoBase simboli(this);
	simboli.SetSqlSession(GetReadOnlySqlSession());
	const DataStr modello = GetTesta()->f_ModelloRiclassific;

	// One grouped query per symbol: its accounts (or its centres and jobs) and months as rows.
	Kvz_TPianoBaseRighe rec;
	DataStr conto, centro;
	DataInt meseRiga;
	DataLng mastro;
	DataDbl somme[3];
	auto leggi = [&](bool bCentri, const CString& da, const CString& a,
					 const std::function<void(const Importi&)>& riga) {
		SqlTable t(&rec, GetReadOnlySqlSession(), this);
		t.Open(FALSE);
		auto q = [&](const DataObj& c) { return "\"" + t.GetColumnName(c) + "\""; };
		t.SelectSqlFun(q(rec.f_ContoKvz), conto);
		t.SelectSqlFun(q(rec.f_CentroCommessa), centro);
		t.SelectSqlFun(q(rec.f_TipoMastro), mastro);
		t.SelectSqlFun(q(rec.f_Mese), meseRiga);
		t.SelectSqlFun("SUM(" + q(rec.f_SaldoContabile) + ")", somme[0]);
		t.SelectSqlFun("SUM(" + q(rec.f_TotaleAssestato) + ")", somme[1]);
		t.SelectSqlFun("SUM(" + q(rec.f_ImportoRateo) + ")", somme[2]);
		t.AddParam("pEs", rec.f_Esercizio);
		t.AddFilterColumn(rec.f_Esercizio);
		t.AddParam("pMeseDa", rec.f_Mese);
		t.AddParam("pMeseA", rec.f_Mese);
		t.AddBetweenColumn(rec.f_Mese);
		DataStr& chiave = bCentri ? rec.f_CentroCommessa : rec.f_ContoKvz;
		t.AddParam("pDa", chiave);
		t.AddParam("pA", chiave);
		t.AddBetweenColumn(chiave);
		if (!bCentri)
		{
			t.AddParam("pComm", rec.f_CentroCommessa);
			t.AddFilterColumn(rec.f_CentroCommessa);
			t.SetParamValue("pComm", DataStr(""));
		}
		t.AddGroupByColumn(rec.f_ContoKvz);
		t.AddGroupByColumn(rec.f_CentroCommessa);
		t.AddGroupByColumn(rec.f_TipoMastro);
		t.AddGroupByColumn(rec.f_Mese);
		t.SetParamValue("pEs", m_EsercizioEsplosione);
		t.SetParamValue("pMeseDa", DataInt(1));
		t.SetParamValue("pMeseA", DataInt(mese));
		t.SetParamValue("pDa", DataStr(da));
		t.SetParamValue("pA", DataStr(a));
		for (t.Query(); !t.IsEOF(); t.MoveNext())
			riga(Importi{somme[0].GetValue(), somme[1].GetValue(), somme[2].GetValue()});
		t.Close();
	};
	auto scegli = [&](const Importi& v) {
		return ScegliValoreEsplosione(DataMon(v.saldo), DataMon(v.rateo), DataMon(v.assestato)).GetValue();
	};

	try
	{
		for (int i = 0; i < flat.GetSize(); ++i)
		{
			const Kvz_FormulaFlatElem& e = *flat.GetElem(i);
			Kvz_RigaEsplosione riga;
			riga.Titolo = e.m_bTesto;
			riga.Testo = e.m_Testo;
			riga.TipoSimbolo = e.m_Tipo;
			m_RigheEsplosione.push_back(riga);
			if (e.m_bTesto || e.m_Tipo.GetItemValue() != 0 || e.m_Dettagli.IsEmpty() ||
				simboli.FindRecord(m_EsercizioEsplosione, e.m_Testo, modello) != TableReader::FOUND)
				continue;
			auto& dettagli = m_RigheEsplosione.back().Dettagli;
			std::set<CString> conti, centri;
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
				if (!d.m_Testo.IsEmpty())
					(bCentro ? centri : conti).insert(d.m_Testo.GetString());
			}
			// Month value and progressive of each account, of each centre by account and ledger kind.
			std::map<CString, std::pair<double, double>> perConto;
			if (!conti.empty())
				leggi(false, *conti.begin(), *conti.rbegin(), [&](const Importi& v) {
					auto& [valMese, progr] = perConto[conto.GetString()];
					const double x = scegli(v);
					if (meseRiga.GetValue() == mese)
						valMese = x;
					progr += x;
				});
			std::map<std::tuple<CString, CString, int, int>, double> perCentro;
			if (!centri.empty())
				leggi(true, *centri.begin(), *centri.rbegin(), [&](const Importi& v) {
					perCentro[{centro.GetString(), conto.GetString(), int(mastro.GetValue()), meseRiga.GetValue()}] +=
						scegli(v);
				});
			for (int k = 0; k < e.m_Dettagli.GetSize(); ++k)
			{
				const Kvz_FormulaFlatElem& d = *e.m_Dettagli.GetElem(k);
				Kvz_RigaEsplosione::Dettaglio& r = dettagli[static_cast<size_t>(k)];
				double valMese = 0, progr = 0;
				if (d.m_Tipo.GetItemValue() != 5)
				{
					if (auto it = perConto.find(d.m_Testo.GetString()); it != perConto.end())
						std::tie(valMese, progr) = it->second;
				}
				else
					for (const auto& [chiave, x] : perCentro)
					{
						const auto& [c, contoRiga, tipoMastro, m] = chiave;
						if (c != d.m_Testo.GetString() || (!d.m_Conto.IsEmpty() && contoRiga != d.m_Conto.GetString()))
							continue;
						// Ledger kinds 4 and 0 count against 3 and 1 when the centre covers every account.
						const int natura = tipoMastro & 0xFFFF;
						double v = 0;
						if (natura == 4 || natura == 0)
							v = d.m_Conto.IsEmpty() ? -x : x;
						else if (natura == 3 || natura == 1)
							v = x;
						if (m == mese)
							valMese += v;
						progr += v;
					}
				r.Importi[0] = valMese;
				r.Importi[1] = progr;
			}
		}
	}
	catch (const std::exception& e)
	{
		MostraErroreSql(e, "Kvz_CDeRiclassificazioniDoc::OnEsplodiFormula", kSource);
	}
}
