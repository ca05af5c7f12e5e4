#include "kvznet/kvzmod/kvzdocuments/riclassific/Kvz_CComparazioneRiclassificDoc.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <set>
#include <string>
#include <tuple>

#include "kvznet/kvzmod/kvzdbl/KvzDblInfo.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TCodRaggrupp.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TDescrFormula.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificato.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificazioneRighe.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TTmpRiclassificazioneTesta.h"
#include "kvznet/kvzmod/kvzdocuments/formule/FormulaCtrl.h"
#include "kvznet/kvzmod/kvzdocuments/riclassific/Progressivi.h"
#include "kvznet/kvzmod/kvzdocuments/riclassific/ReportRows.h"
#include "kvznet/kvzmod/kvzdocuments/riclassific/ReportRun.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvgeneric/Interaction.h"
#include "platform/plvgenlib/CommandManager.h"
#include "platform/plvnamesolver/ApplicationContext.h"
#include "platform/plvoledb/SqlException.h"
#include "platform/plvoledb/SqlTable.h"
#include "platform/plvrendoviewer/ReportDefinition.h"

namespace {
const char* const kSource = "ComparazioneRiclassific";
const char* const kReport = "KvzNet.KvzMod.ConfrontoRiclassif";
// Rows of this kind are left out of every sum.
const WORD kTipoRigaEsclusa = 7;
const WORD kTipoRigaPrimoMese = 2;
const WORD kTipoRigaUltimoMese = 3;
const int kLunghezzaChiave = 15;

enum : UINT
{
	IDC_COMPARA_TIPO_DATO_1 = 53128,
	IDC_COMPARA_ESERCIZIO_1 = 53129,
	IDC_COMPARA_MESE_DA_1 = 53130,
	IDC_COMPARA_MODELLO_1 = 53131,
	IDC_COMPARA_DESCRI_MODELLO_1 = 53132,
	IDC_COMPARA_ESERCIZIO_2 = 53133,
	IDC_COMPARA_MESE_A_1 = 53134,
	IDC_COMPARA_MODELLO_2 = 53135,
	IDC_COMPARA_MESE_DA_2 = 53136,
	IDC_COMPARA_DESCRI_MODELLO_2 = 53137,
	IDC_COMPARA_TIPO_DATO_2 = 53138,
	IDC_COMPARA_MESE_A_2 = 53139,
	IDC_COMPARA_VALORE_PRINC_1 = 53140,
	IDC_COMPARA_VALORE_COLONNA_1 = 53141,
	IDC_COMPARA_VALORE_NR_COLONNA_1 = 53142,
	IDC_COMPARA_TIPO_BUDGET_1 = 53143,
	IDC_COMPARA_VALORE_BUDGET_1 = 53144,
	IDC_COMPARA_VALORE_PRINC_2 = 53145,
	IDC_COMPARA_VALORE_COLONNA_2 = 53146,
	IDC_COMPARA_VALORE_NR_COLONNA_2 = 53147,
	IDC_COMPARA_TIPO_BUDGET_2 = 53148,
	IDC_COMPARA_VALORE_BUDGET_2 = 53149,
	IDC_COMPARA_PROIEZI_MESI1 = 53150,
	IDC_COMPARA_PROIEZ_TOTMESI1 = 53151,
	IDC_COMPARA_ISMODELLO_1 = 53152,
	IDC_COMPARA_PROIEZI_MESI2 = 53153,
	IDC_COMPARA_PROIEZ_TOTMESI2 = 53154,
	IDC_COMPARA_ISRAGGRUPP_1 = 53155,
	IDC_COMPARA_ISMODELLO_2 = 53156,
	IDC_COMPARA_ISRAGGRUPP_2 = 53157,
};

CString Testo(LPCTSTR sz)
{
	return AfxLoadSourceString(sz, kSource);
}

bool IsZero(double v)
{
	return v < GetMonEpsilon() && v > -GetMonEpsilon();
}

void MostraErrore(const SqlException& e, const char* method)
{
	ASSERT_RELEASE_TRACE(e.IsKindOf(SqlException::GetThisClass()), method, kSource);
	e.ShowError();
}

// The cursor's physical name of a results column named in the record.
CString NomeColonna(const SqlTable& t, const Kvz_TRiclassificato& rec, const CString& strColonna)
{
	const DataObj* p = rec.GetDataObjFromColumnName(strColonna);
	return p ? t.GetColumnName(*p) : CString();
}

// A term's results of its year, model and kind of data, with months between two bounds;
// the excluded row kind left out unless asked.
void FiltraTermine(SqlTable& t, Kvz_TRiclassificato& rec, const DataInt& aEsercizio, const DataStr& aModello,
				   const DataEnum& aTipoDato, int nDa, int nA, bool bEscludi = true)
{
	kvzdocuments::FiltraRisultati(t, rec, aEsercizio, aModello, DataInt(nDa), DataInt(nA));
	t.AddParam("pTipoDato", rec.f_TipoDatoPianoBase);
	t.AddFilterColumn(rec.f_TipoDatoPianoBase);
	t.SetParamValue("pTipoDato", aTipoDato);
	if (bEscludi)
	{
		t.AddParam("pTipoRiga", rec.f_TipoRiga);
		t.AddFilterColumn(rec.f_TipoRiga, "<>");
		t.SetParamValue("pTipoRiga", DataEnum(E_KVZ_TIPORIGA, kTipoRigaEsclusa));
	}
}

// A term's sums of a code, month by month.
struct Mese
{
	double valore = 0;
	double riportato = 0;
};
}  // namespace

// ---- term ---------------------------------------------------------------------------------------

Kvz_TermineConfronto::Kvz_TermineConfronto()
	: Esercizio(AfxGetApplicationDate().Year()),
	  MeseDa(1),
	  MeseA(AfxGetApplicationDate().Month()),
	  TipoDatoPianoBase(E_KVZ_TIPODATOPBASE, 0),
	  ValorePrinc(TRUE),
	  ValoreColonna(FALSE),
	  NrColonna(0),
	  ValoreBudget(FALSE),
	  TipoBudget(E_KVZ_TIPOBUDGET, 0),
	  ProiezMesi(0),
	  ProiezTotMesi(12),
	  IsModello(TRUE),
	  IsRaggrupp(FALSE)
{
	Modello.SetUpperCase();
}

CString Kvz_TermineConfronto::CodiceColonna() const
{
	// The budget's letter, the main value's "0" or the column's number.
	return ValoreBudget ? CString(static_cast<char>('A' + TipoBudget.GetItemValue()))
		   : ValorePrinc ? CString("0")
						 : CString::Formatted("%d", NrColonna.GetValue());
}

kvzdocuments::ColonnaRisultati Kvz_TermineConfronto::Colonna() const
{
	return kvzdocuments::ColonnaDaStampare(CodiceColonna());
}

double Kvz_TermineConfronto::Proietta(double v) const
{
	const int nMesi = ProiezMesi;
	return nMesi > 0 ? v / nMesi * ProiezTotMesi.GetValue() : v;
}

CString Kvz_ChiaveConfronto(const CString& strCodice)
{
	std::string s = strCodice.str().substr(0, kLunghezzaChiave);
	s.insert(0, kLunghezzaChiave - s.size(), '0');
	return CString(s.c_str());
}

double Kvz_PercentualeConfronto(double dValore1, double dValore2)
{
	if (!IsZero(dValore1))
		return std::round((dValore2 - dValore1) * 100.0 / dValore1 * 100.0) / 100.0;
	return IsZero(dValore2) ? 0.0 : 100.0;
}

// ---- document -----------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(Kvz_CComparazioneRiclassificDoc, CAbstractFormDoc)
	ON_EN_VALUE_CHANGED(IDC_COMPARA_VALORE_PRINC_1, OnValoreChanged)
	ON_EN_VALUE_CHANGED(IDC_COMPARA_VALORE_COLONNA_1, OnValoreChanged)
	ON_EN_VALUE_CHANGED(IDC_COMPARA_VALORE_BUDGET_1, OnValoreChanged)
	ON_EN_VALUE_CHANGED(IDC_COMPARA_VALORE_PRINC_2, OnValoreChanged)
	ON_EN_VALUE_CHANGED(IDC_COMPARA_VALORE_COLONNA_2, OnValoreChanged)
	ON_EN_VALUE_CHANGED(IDC_COMPARA_VALORE_BUDGET_2, OnValoreChanged)
	ON_EN_VALUE_CHANGED(IDC_COMPARA_ESERCIZIO_1, OnEsercizio1Changed)
	ON_EN_VALUE_CHANGED(IDC_COMPARA_ESERCIZIO_2, OnEsercizio2Changed)
	ON_EN_VALUE_CHANGED(IDC_COMPARA_MESE_DA_1, OnMeseChanged)
	ON_EN_VALUE_CHANGED(IDC_COMPARA_MESE_A_1, OnMeseChanged)
	ON_EN_VALUE_CHANGED(IDC_COMPARA_MESE_DA_2, OnMeseChanged)
	ON_EN_VALUE_CHANGED(IDC_COMPARA_MESE_A_2, OnMeseChanged)
	ON_EN_VALUE_CHANGED(IDC_COMPARA_ISMODELLO_1, OnModelloRaggrupp1Changed)
	ON_EN_VALUE_CHANGED(IDC_COMPARA_ISRAGGRUPP_1, OnModelloRaggrupp1Changed)
	ON_EN_VALUE_CHANGED(IDC_COMPARA_ISMODELLO_2, OnModelloRaggrupp2Changed)
	ON_EN_VALUE_CHANGED(IDC_COMPARA_ISRAGGRUPP_2, OnModelloRaggrupp2Changed)
	ON_EN_VALUE_CHANGED(IDC_COMPARA_MODELLO_1, OnModello1Changed)
	ON_EN_VALUE_CHANGED(IDC_COMPARA_MODELLO_2, OnModello2Changed)
END_MESSAGE_MAP()

Kvz_CComparazioneRiclassificDoc::Kvz_CComparazioneRiclassificDoc() : m_nsReport(kReport) {}

Kvz_CComparazioneRiclassificDoc::~Kvz_CComparazioneRiclassificDoc() = default;

BOOL Kvz_CComparazioneRiclassificDoc::OnAttachData()
{
	SetFormTitle(Testo(_T("Comparazione tra piani riclassificati")));
	const CString operatore = AfxGetLoginInfos() ? AfxGetLoginInfos()->m_strUserName : CString();
	for (int n = 0; n < 2; ++n)
	{
		m_pHKLModello[n] = new KVZ_HKLTmpRiclassificazioneTesta;
		Attach(m_pHKLModello[n], CString::Formatted("HKLModello%d", n + 1));
		m_pHKLModello[n]->SetSelEsercizio(DataInt(AfxGetApplicationDate().Year()));
		m_pHKLModello[n]->SetSelOperatore(DataStr(operatore));
		m_pHKLRaggrupp[n] = new Kvz_HKLCodRaggrupp;
		Attach(m_pHKLRaggrupp[n], CString::Formatted("HKLRaggrupp%d", n + 1));
		m_pHKLRaggrupp[n]->EnableAddOnFly(FALSE);
	}
	AfxGetKvzDblInfo()->GeneraTmpRiclassificazioneTesta(DataStr(operatore));
	return TRUE;
}

void Kvz_CComparazioneRiclassificDoc::AbilitaControlli()
{
	for (Kvz_TermineConfronto& t : m_Termine)
	{
		t.TipoBudget.SetReadOnly(!t.ValoreBudget);
		t.ValorePrinc.SetReadOnly(t.ValoreBudget);
		t.ValoreColonna.SetReadOnly(t.ValoreBudget);
		t.NrColonna.SetReadOnly(t.ValoreBudget || t.ValorePrinc);
	}
	UpdateDataView();
}

void Kvz_CComparazioneRiclassificDoc::OnEsercizioChanged(int n)
{
	m_pHKLModello[n]->SetSelEsercizio(m_Termine[n].Esercizio);
	UpdateDataView();
}

void Kvz_CComparazioneRiclassificDoc::OnModelloRaggruppChanged(int n)
{
	Kvz_TermineConfronto& t = m_Termine[n];
	t.Modello.Clear();
	t.DescriModello.Clear();
	if (m_pModelloCtrl[n])
		m_pModelloCtrl[n]->ReattachHotKeyLink(t.IsModello ? static_cast<HotKeyLinkObj*>(m_pHKLModello[n])
														  : m_pHKLRaggrupp[n]);
	UpdateDataView();
}

void Kvz_CComparazioneRiclassificDoc::OnModelloChanged(int n)
{
	Kvz_TermineConfronto& t = m_Termine[n];
	if (t.Modello.IsEmpty())
		t.DescriModello.Clear();
	else if (t.IsModello)
		t.DescriModello = m_pHKLModello[n]->GetRecord()->f_Descrizione;
	else
		t.DescriModello = m_pHKLRaggrupp[n]->GetRecord()->f_Descrizione;
	UpdateDataView();
}

CString Kvz_CComparazioneRiclassificDoc::ControllaParametri() const
{
	if (m_Termine[0].Modello.IsEmpty() || m_Termine[1].Modello.IsEmpty())
		return Testo(_T("Indicare entrambi i modelli di riclassificazione."));
	static const LPCTSTR kTermine[2] = {_T("primo"), _T("secondo")};
	for (int n = 0; n < 2; ++n)
	{
		const Kvz_TermineConfronto& t = m_Termine[n];
		const CString termine = Testo(kTermine[n]);
		// A value column that names nothing would be summed as "SUM()".
		if (t.ValoreBudget && t.TipoBudget.GetItemValue() > 2)
			return CString::Formatted(Testo(_T("Tipo budget non valido nel %s termine: indicare il budget A, B o C.")),
									  termine.GetString());
		if (!t.ValoreBudget && !t.ValorePrinc && (t.NrColonna < 1 || t.NrColonna > 10))
			return CString::Formatted(Testo(_T("Colonna %d non valida nel %s termine: indicare un numero da 1 a 10.")),
									  t.NrColonna.GetValue(), termine.GetString());
		if (t.MeseDa < 1 || t.MeseA > 12 || t.MeseDa > t.MeseA)
			return CString::Formatted(Testo(_T("Mesi errati nel %s termine (dal mese %d al mese %d): indicare mesi da 1 "
											   "a 12, il primo non oltre l'ultimo.")),
									  termine.GetString(), t.MeseDa.GetValue(), t.MeseA.GetValue());
		if (t.ProiezMesi < 0 || (t.ProiezMesi > 0 && t.ProiezTotMesi < 1))
			return CString::Formatted(Testo(_T("Proiezione non valida nel %s termine (%d su %d): indicare i mesi dei "
											   "valori e i mesi su cui proiettarli, oppure 0 mesi per nessuna.")),
									  termine.GetString(), t.ProiezMesi.GetValue(), t.ProiezTotMesi.GetValue());
	}
	return CString();
}

void Kvz_CComparazioneRiclassificDoc::OnBatchExecute()
{
	const CString errore = ControllaParametri();
	if (!errore.IsEmpty())
	{
		AfxMessageBox(errore, MB_OK | MB_ICONWARNING);
		m_bBatchNotStarted = true;
		return;
	}
	if (!StartBatchTransaction())
		return;
	CPLVContext* pContext = GetContext();
	BeginWaitCursor();
	m_Righe.clear();
	BOOL bEstratti = FALSE;
	BOOL bTemp = TRUE;
	try
	{
		// The placeholder rows live only inside this transaction: others never see them, and
		// they go before it ends, whatever happened.
		ScriveNuoveRigheDaTab2();
		bEstratti = EstraiDati();
	}
	catch (const SqlException& e)
	{
		MostraErrore(e, "Kvz_CComparazioneRiclassificDoc::EstraiDati");
		m_Righe.clear();
		bEstratti = FALSE;
	}
	try
	{
		AnnullaRigheTemp();
	}
	catch (const SqlException& e)
	{
		MostraErrore(e, "Kvz_CComparazioneRiclassificDoc::AnnullaRigheTemp");
		bTemp = FALSE;
	}
	if (bTemp)
		pContext->Commit();
	else
	{
		pContext->UnlockAll();
		pContext->Rollback();
	}
	EndWaitCursor();
	if (!bEstratti)
	{
		AfxMessageBox(Testo(_T("Nessun dato estratto per i parametri impostati.")), MB_OK | MB_ICONINFORMATION);
		m_bBatchNotStarted = true;
		UpdateDataView();
		return;
	}
	OrdinaRighe();
	ComponiEtichette();
	UpdateDataView();
	if (!GetScheduler()->IsAborted())
		EseguiReport();
}

void Kvz_CComparazioneRiclassificDoc::ComponiEtichette()
{
	for (Kvz_TermineConfronto& t : m_Termine)
	{
		// The budget type's own text names it ("Budget A").
		if (t.ValoreBudget)
			t.DescriColonnaUsata = t.TipoBudget.FormatData();
		else if (t.ValorePrinc)
			t.DescriColonnaUsata = Testo(_T("Principale"));
		else
			t.DescriColonnaUsata = CString::Formatted(Testo(_T("Nr. %d")), t.NrColonna.GetValue());
		// The model's own title of that formula column, when it has one.
		try
		{
			Kvz_TRDescrFormula descrizioni(this);
			const DataEnum tipoBudget = t.ValoreBudget ? t.TipoBudget : DataEnum(E_KVZ_TIPOBUDGET, 3);
			const DataInt indice(t.ValoreBudget || t.ValorePrinc ? 0 : t.NrColonna.GetValue());
			if (descrizioni.FindRecord(t.Esercizio, DataEnum(E_KVZ_TIPOSIMBOLO, 3), t.Modello, tipoBudget, indice) ==
					TableReader::FOUND &&
				!descrizioni.GetRecord()->f_Descrizione.IsEmpty())
				t.DescriColonnaUsata = descrizioni.GetRecord()->f_Descrizione;
		}
		catch (const SqlException& e)
		{
			MostraErrore(e, "Kvz_CComparazioneRiclassificDoc::ComponiEtichette");
		}
		if (t.ProiezMesi > 0)
			t.DescriProiezione = CString::Formatted(Testo(_T("%d su %d")), t.ProiezMesi.GetValue(), t.ProiezTotMesi.GetValue());
		else
			t.DescriProiezione.Clear();
	}
}

void Kvz_CComparazioneRiclassificDoc::EseguiReport()
{
	auto setInputs = [&](CRendoInfo& info) {
		for (int n = 0; n < 2; ++n)
		{
			const Kvz_TermineConfronto& t = m_Termine[n];
			auto nome = [n](const char* s) { return CString::Formatted("w_%s%d", s, n + 1); };
			info.AddParam(nome("Esercizio"), t.Esercizio);
			info.AddParam(nome("MeseDa"), t.MeseDa);
			info.AddParam(nome("MeseA"), t.MeseA);
			info.AddParam(nome("Modello"), t.Modello);
			info.AddParam(nome("DescriModello"), t.DescriModello);
			info.AddParam(nome("TipoDatoPianoBase"), t.TipoDatoPianoBase);
			info.AddParam(nome("DescriColonnaUsata"), t.DescriColonnaUsata);
			info.AddParam(nome("DescriProiezione"), t.DescriProiezione);
			// The column itself ("0", "1".."10", "A".."C"): the report tells a row the column has
			// no formula for.
			info.AddParam(nome("Colonna"), DataStr(t.CodiceColonna()));
		}
		info.AddParam(_T("w_AskDialog"), DataBool(FALSE));
	};
	kvzdocuments::EseguiReportProcedura(this, m_pReport, m_nsReport, setInputs);
}

void Kvz_CComparazioneRiclassificDoc::ScriveNuoveRigheDaTab2()
{
	const Kvz_TermineConfronto& t1 = m_Termine[0];
	const Kvz_TermineConfronto& t2 = m_Termine[1];
	// Term 1's rows in term 2's months, whatever their kind: a key taken is never written twice.
	std::set<std::pair<std::string, int>> presenti;
	{
		Kvz_TRiclassificato rec;
		SqlTable table(&rec, GetUpdatableSqlSession(), this);
		table.Open();
		table.Select(rec.f_CodRiclassificato);
		table.Select(rec.f_Mese);
		FiltraTermine(table, rec, t1.Esercizio, t1.Modello, t1.TipoDatoPianoBase, t2.MeseDa, t2.MeseA, false);
		for (table.Query(); !table.IsEOF(); table.MoveNext())
			presenti.emplace(rec.f_CodRiclassificato.GetString().str(), rec.f_Mese.GetValue());
		table.Close();
	}
	Kvz_TRiclassificato letto;
	SqlTable lettura(&letto, GetUpdatableSqlSession(), this);
	lettura.Open();
	lettura.Select(letto.f_CodRiclassificato);
	lettura.Select(letto.f_Mese);
	lettura.Select(letto.f_Posizione);
	lettura.Select(letto.f_Descrizione);
	lettura.Select(letto.f_TipoRiga);
	FiltraTermine(lettura, letto, t2.Esercizio, t2.Modello, t2.TipoDatoPianoBase, t2.MeseDa, t2.MeseA);
	lettura.AddSortColumn(letto.f_CodRiclassificato);
	lettura.AddSortColumn(letto.f_Mese);
	std::vector<std::unique_ptr<Kvz_TRiclassificato>> nuove;
	for (lettura.Query(); !lettura.IsEOF(); lettura.MoveNext())
		if (presenti.emplace(letto.f_CodRiclassificato.GetString().str(), letto.f_Mese.GetValue()).second)
			nuove.push_back(std::make_unique<Kvz_TRiclassificato>(letto));
	lettura.Close();
	if (nuove.empty())
		return;
	Kvz_TRiclassificato rec;
	SqlTable scrittura(&rec, GetUpdatableSqlSession(), this);
	scrittura.Open(TRUE);
	scrittura.SetBatchInsert(TRUE);
	for (const auto& p : nuove)
	{
		scrittura.AddNew(TRUE);
		rec.f_Temp = TRUE;
		rec.f_Esercizio = t1.Esercizio;
		rec.f_ModelloRiclassific = t1.Modello;
		rec.f_TipoDatoPianoBase = t1.TipoDatoPianoBase;
		rec.f_CodRiclassificato = p->f_CodRiclassificato;
		rec.f_TipoRiga = p->f_TipoRiga;
		rec.f_Mese = p->f_Mese;
		rec.f_Posizione = p->f_Posizione;
		rec.f_Descrizione = p->f_Descrizione;
		scrittura.Update();
	}
	scrittura.Close();
}

void Kvz_CComparazioneRiclassificDoc::AnnullaRigheTemp()
{
	const Kvz_TermineConfronto& t1 = m_Termine[0];
	const DataBool temp(TRUE);
	Kvz_TRiclassificato rec;
	SqlTable table(&rec, GetUpdatableSqlSession(), this);
	GetUpdatableSqlSession()->ExecuteSQL(
		CString::Formatted("DELETE FROM %s WHERE %s=? AND %s=? AND %s=? AND %s=?", Kvz_TRiclassificato::GetStaticName(),
						   table.GetColumnName(rec.f_Esercizio).GetString(),
						   table.GetColumnName(rec.f_ModelloRiclassific).GetString(),
						   table.GetColumnName(rec.f_TipoDatoPianoBase).GetString(),
						   table.GetColumnName(rec.f_Temp).GetString()),
		{&t1.Esercizio, &t1.Modello, &t1.TipoDatoPianoBase, &temp});
}

BOOL Kvz_CComparazioneRiclassificDoc::EstraiDati()
{
	m_Righe.clear();
	const Kvz_TermineConfronto& t1 = m_Termine[0];
	const Kvz_TermineConfronto& t2 = m_Termine[1];
	SqlSession* pSession = GetUpdatableSqlSession();  // the placeholder rows are this session's

	// Term 1 by position, code, description and month; term 2 by code and month: one grouped
	// query each, keyed by the results' own key. Rows of the excluded kind are never compared,
	// but a progressive may take one as its operand.
	using Gruppo = std::tuple<int, std::string, std::string>;  // position, code, description
	using Mesi = std::map<int, Mese>;
	std::map<Gruppo, Mesi> termine1;
	std::map<std::string, Mesi> termine2;
	std::map<std::string, Mesi> operandi[2];  // every row of a code, by term
	for (int n = 0; n < 2; ++n)
	{
		const Kvz_TermineConfronto& t = m_Termine[n];
		Kvz_TRiclassificato rec;
		DataDbl valore, riportato;
		SqlTable table(&rec, pSession, this);
		table.Open();
		table.Select(rec.f_CodRiclassificato);
		table.Select(rec.f_Mese);
		table.Select(rec.f_TipoRiga);
		if (n == 0)
		{
			table.Select(rec.f_Posizione);
			table.Select(rec.f_Descrizione);
		}
		table.SelectSqlFun(CString::Formatted("SUM(%s)", NomeColonna(table, rec, t.Colonna().valore).GetString()), valore);
		const CString colRiportato = NomeColonna(table, rec, t.Colonna().riportato);
		if (!colRiportato.IsEmpty())
			table.SelectSqlFun(CString::Formatted("SUM(%s)", colRiportato.GetString()), riportato);
		FiltraTermine(table, rec, t.Esercizio, t.Modello, t.TipoDatoPianoBase, t.MeseDa, t.MeseA, false);
		if (n == 0)
		{
			table.AddGroupByColumn(rec.f_Posizione);
			table.AddGroupByColumn(rec.f_Descrizione);
		}
		table.AddGroupByColumn(rec.f_CodRiclassificato);
		table.AddGroupByColumn(rec.f_Mese);
		table.AddGroupByColumn(rec.f_TipoRiga);
		for (table.Query(); !table.IsEOF(); table.MoveNext())
		{
			const std::string codice = rec.f_CodRiclassificato.GetString().str();
			const Mese m{valore.GetValue(), riportato.GetValue()};
			Mese& op = operandi[n][codice][rec.f_Mese.GetValue()];
			op.valore += m.valore;
			op.riportato += m.riportato;
			if (rec.f_TipoRiga.GetItemValue() == kTipoRigaEsclusa)
				continue;
			if (n == 1)
			{
				Mese& m2 = termine2[codice][rec.f_Mese.GetValue()];
				m2.valore += m.valore;
				m2.riportato += m.riportato;
				continue;
			}
			const Gruppo g{rec.f_Posizione.GetValue(), codice, rec.f_Descrizione.GetString().str()};
			Mese& m1 = termine1[g][rec.f_Mese.GetValue()];
			m1.valore += m.valore;
			m1.riportato += m.riportato;
		}
		table.Close();
	}
	if (termine1.empty())
		return FALSE;
	// The kind of each code's row in term 1's model (none for a grouping code: kind 0), and each
	// term's progressives: from its model's rows, or from the results of a grouping code.
	std::map<std::string, DataEnum> tipi;
	std::map<CString, kvzdocuments::ProgressivoCodice> progressivi[2];
	for (int n = 0; n < 2; ++n)
	{
		const Kvz_TermineConfronto& t = m_Termine[n];
		if (t.IsRaggrupp)
		{
			Kvz_TRiclassificato rec;
			SqlTable table(&rec, pSession, this);
			table.Open();
			table.Select(rec.f_CodRiclassificato);
			table.Select(rec.f_SegnoDaApplicare);
			table.Select(rec.f_CodRiclDividendoProgr);
			table.Select(rec.f_CodRiclDivisoreProgr);
			FiltraTermine(table, rec, t.Esercizio, t.Modello, t.TipoDatoPianoBase, t.MeseDa, t.MeseA);
			for (table.Query(); !table.IsEOF(); table.MoveNext())
				progressivi[n].emplace(rec.f_CodRiclassificato.GetString(),
									   kvzdocuments::ProgressivoCodice{rec.f_SegnoDaApplicare.GetString(),
																	   rec.f_CodRiclDividendoProgr.GetString(),
																	   rec.f_CodRiclDivisoreProgr.GetString()});
			table.Close();
			continue;
		}
		Kvz_TRiclassificazioneRighe riga;
		SqlTable table(&riga, pSession, this);
		table.Open();
		table.Select(riga.f_CodRiclassificato);
		table.Select(riga.f_TipoRiga);
		table.Select(riga.f_SegnoDaApplicare);
		table.Select(riga.f_CodRiclDividendoProgr);
		table.Select(riga.f_CodRiclDivisoreProgr);
		table.AddParam("pEsercizio", riga.f_Esercizio);
		table.AddFilterColumn(riga.f_Esercizio);
		table.AddParam("pModello", riga.f_ModelloRiclassific);
		table.AddFilterColumn(riga.f_ModelloRiclassific);
		table.SetParamValue("pEsercizio", t.Esercizio);
		table.SetParamValue("pModello", t.Modello);
		for (table.Query(); !table.IsEOF(); table.MoveNext())
		{
			if (n == 0)
				tipi[riga.f_CodRiclassificato.GetString().str()] = riga.f_TipoRiga;
			if (riga.f_TipoRiga.GetItemValue() != kTipoRigaEsclusa)
				progressivi[n][riga.f_CodRiclassificato.GetString()] = {riga.f_SegnoDaApplicare.GetString(),
																		riga.f_CodRiclDividendoProgr.GetString(),
																		riga.f_CodRiclDivisoreProgr.GetString()};
		}
		table.Close();
	}
	auto tipoDi = [&](const std::string& codice) {
		auto it = tipi.find(codice);
		return it == tipi.end() ? WORD(0) : it->second.GetItemValue();
	};
	// A term's value of a code over its months as the comparison shows it: kinds 2 and 3 the
	// first or the last month alone, projected when the term is.
	auto valoreMesi = [](const Kvz_TermineConfronto& t, WORD tipo, const Mesi& mesi) {
		double v = 0;
		for (const auto& [mese, m] : mesi)
			if ((tipo != kTipoRigaPrimoMese || mese == t.MeseDa) && (tipo != kTipoRigaUltimoMese || mese == t.MeseA))
				v += m.valore;
		return t.Proietta(v);
	};
	std::unique_ptr<kvzdocuments::ProgressiviCalcolati> calcolo[2];
	for (int n = 0; n < 2; ++n)
		calcolo[n] = std::make_unique<kvzdocuments::ProgressiviCalcolati>(progressivi[n], [&, n](const CString& c) {
			auto it = operandi[n].find(c.str());
			return it == operandi[n].end() ? 0.0 : valoreMesi(m_Termine[n], tipoDi(c.str()), it->second);
		});

	for (const auto& [g, mesi1] : termine1)
	{
		const auto& [posizione, codice, descrizione] = g;
		const CString strCodice(codice.c_str());
		Kvz_ConfrontoRCLArrayElem& r = m_Righe.emplace_back();
		auto itTipo = tipi.find(codice);
		r.TipoRiga = itTipo == tipi.end() ? DataEnum(E_KVZ_TIPORIGA, 0) : itTipo->second;
		const WORD tipo = r.TipoRiga.GetItemValue();
		// Kinds 2 and 3 compare the first or the last month alone; the carried totals still
		// cover the whole ranges.
		auto mesi2 = termine2.find(codice);
		double v2 = mesi2 == termine2.end() ? 0.0 : valoreMesi(t2, tipo, mesi2->second);
		double v1 = valoreMesi(t1, tipo, mesi1);
		double rip1 = 0, rip2 = 0;
		for (const auto& [mese, m] : mesi1)
			rip1 += m.riportato;
		if (mesi2 != termine2.end())
			for (const auto& [mese, m] : mesi2->second)
				rip2 += m.riportato;
		// A progressive is each term's own operands over its own months (projected with them).
		const double p1 = calcolo[0]->Progressivo(strCodice);
		const double p2 = calcolo[1]->Progressivo(strCodice);
		if (!kvzdocuments::ProgressiviCalcolati::IsZero(p1))
			v1 = p1;
		if (!kvzdocuments::ProgressiviCalcolati::IsZero(p2))
			v2 = p2;
		r.CodRiclassificato = strCodice;
		r.Chiave = Kvz_ChiaveConfronto(strCodice);
		r.Descrizione = CString(descrizione.c_str());
		r.Posizione = posizione;
		if (t1.ProiezMesi > 0)
		{
			rip1 = t1.Proietta(rip1);
			r.Proiettato1 = v1;
		}
		if (t2.ProiezMesi > 0)
		{
			rip2 = t2.Proietta(rip2);
			r.Proiettato2 = v2;
		}
		r.Valore1 = v1;
		r.Valore2 = v2;
		r.Riportato1 = rip1;
		r.Riportato2 = rip2;
		r.Differenza = v2 - v1;
		r.Percentuale = Kvz_PercentualeConfronto(v1, v2);
	}
	return TRUE;
}

void Kvz_CComparazioneRiclassificDoc::OrdinaRighe()
{
	std::stable_sort(m_Righe.begin(), m_Righe.end(), [](const auto& a, const auto& b) {
		return a.Chiave.GetString().str() < b.Chiave.GetString().str();
	});
}

DataBool Kvz_CComparazioneRiclassificDoc::GetRigaComparazione(DataInt nRiga, DataStr& aCodice, DataStr& aDescrizione,
															  DataMon& aValore1, DataMon& aValore2,
															  DataMon& aDifferenza, DataPerc& aPercentuale,
															  DataMon& aRiportato1, DataMon& aRiportato2,
															  DataEnum& aTipoRiga, DataMon& aProiettato1,
															  DataMon& aProiettato2, DataInt& aPosizione)
{
	const Kvz_ConfrontoRCLArrayElem* r = kvzdocuments::RowAt(m_Righe, nRiga);
	if (!r)
		return DataBool(FALSE);
	aCodice = r->CodRiclassificato;
	aDescrizione = r->Descrizione;
	aValore1 = r->Valore1.GetValue();
	aValore2 = r->Valore2.GetValue();
	aDifferenza = r->Differenza.GetValue();
	aPercentuale = r->Percentuale;
	aRiportato1 = r->Riportato1.GetValue();
	aRiportato2 = r->Riportato2.GetValue();
	aTipoRiga = r->TipoRiga;
	aProiettato1 = r->Proiettato1.GetValue();
	aProiettato2 = r->Proiettato2.GetValue();
	aPosizione = r->Posizione;
	return DataBool(TRUE);
}

// ---- form ---------------------------------------------------------------------------------------

void Kvz_CComparazioneRiclassificView::BuildDataControlLinks()
{
	auto* pDoc = static_cast<Kvz_CComparazioneRiclassificDoc*>(GetDocument());
	struct Ids
	{
		UINT esercizio, meseDa, meseA, isModello, isRaggrupp, modello, descri, tipoDato, princ, colonna, nrColonna,
			budget, tipoBudget, proiezMesi, proiezTot;
	};
	static const Ids kIds[2] = {
		{IDC_COMPARA_ESERCIZIO_1, IDC_COMPARA_MESE_DA_1, IDC_COMPARA_MESE_A_1, IDC_COMPARA_ISMODELLO_1,
		 IDC_COMPARA_ISRAGGRUPP_1, IDC_COMPARA_MODELLO_1, IDC_COMPARA_DESCRI_MODELLO_1, IDC_COMPARA_TIPO_DATO_1,
		 IDC_COMPARA_VALORE_PRINC_1, IDC_COMPARA_VALORE_COLONNA_1, IDC_COMPARA_VALORE_NR_COLONNA_1,
		 IDC_COMPARA_VALORE_BUDGET_1, IDC_COMPARA_TIPO_BUDGET_1, IDC_COMPARA_PROIEZI_MESI1, IDC_COMPARA_PROIEZ_TOTMESI1},
		{IDC_COMPARA_ESERCIZIO_2, IDC_COMPARA_MESE_DA_2, IDC_COMPARA_MESE_A_2, IDC_COMPARA_ISMODELLO_2,
		 IDC_COMPARA_ISRAGGRUPP_2, IDC_COMPARA_MODELLO_2, IDC_COMPARA_DESCRI_MODELLO_2, IDC_COMPARA_TIPO_DATO_2,
		 IDC_COMPARA_VALORE_PRINC_2, IDC_COMPARA_VALORE_COLONNA_2, IDC_COMPARA_VALORE_NR_COLONNA_2,
		 IDC_COMPARA_VALORE_BUDGET_2, IDC_COMPARA_TIPO_BUDGET_2, IDC_COMPARA_PROIEZI_MESI2, IDC_COMPARA_PROIEZ_TOTMESI2},
	};
	for (int n = 0; n < 2; ++n)
	{
		Kvz_TermineConfronto& t = pDoc->m_Termine[n];
		const Ids& id = kIds[n];
		auto nome = [n](const char* s) { return CString::Formatted(s, n + 1); };
		AddLink(id.esercizio, nome("COMPARA_ESERCIZIO_%d"), RUNTIME_CLASS(CIntEdit), &t.Esercizio);
		t.Esercizio.SetFieldRule(FieldRule::AnYear());
		AddLink(id.meseDa, nome("COMPARA_MESE_DA_%d"), RUNTIME_CLASS(CIntEdit), &t.MeseDa);
		AddLink(id.meseA, nome("COMPARA_MESE_A_%d"), RUNTIME_CLASS(CIntEdit), &t.MeseA);
		AddRadio(id.isModello, nome("COMPARA_ISMODELLO_%d"), &t.IsModello, 2 * n + 1);
		AddRadio(id.isRaggrupp, nome("COMPARA_ISRAGGRUPP_%d"), &t.IsRaggrupp, 2 * n + 1);
		pDoc->m_pModelloCtrl[n] = AddLink(id.modello, nome("COMPARA_MODELLO_%d"), RUNTIME_CLASS(CStrEdit), &t.Modello,
										  pDoc->GetHotLink(nome("HKLModello%d")));
		AddLink(id.descri, nome("COMPARA_DESCRI_MODELLO_%d"), RUNTIME_CLASS(CStrStatic), &t.DescriModello);
		AddLink(id.tipoDato, nome("COMPARA_TIPO_DATO_%d"), RUNTIME_CLASS(CEnumCombo), &t.TipoDatoPianoBase);
		AddRadio(id.princ, nome("COMPARA_VALORE_PRINC_%d"), &t.ValorePrinc, 2 * n + 2);
		AddRadio(id.colonna, nome("COMPARA_VALORE_COLONNA_%d"), &t.ValoreColonna, 2 * n + 2);
		AddLink(id.nrColonna, nome("COMPARA_VALORE_NR_COLONNA_%d"), RUNTIME_CLASS(CIntEdit), &t.NrColonna);
		AddLink(id.budget, nome("COMPARA_VALORE_BUDGET_%d"), RUNTIME_CLASS(CBoolButton), &t.ValoreBudget);
		AddLink(id.tipoBudget, nome("COMPARA_TIPO_BUDGET_%d"), RUNTIME_CLASS(Kvz_TipoBudgetInputCombo), &t.TipoBudget);
		AddLink(id.proiezMesi, nome("COMPARA_PROIEZI_MESI%d"), RUNTIME_CLASS(CIntEdit), &t.ProiezMesi);
		AddLink(id.proiezTot, nome("COMPARA_PROIEZ_TOTMESI%d"), RUNTIME_CLASS(CIntEdit), &t.ProiezTotMesi);
	}
	// Each term's labels end with its number: the form shows the two side by side.
	SetLabels({{_T("COMPARA_ESERCIZIO_1"), _T("Esercizio 1")},
			   {_T("COMPARA_MESE_DA_1"), _T("Dal mese 1")},
			   {_T("COMPARA_MESE_A_1"), _T("Al mese 1")},
			   {_T("COMPARA_ISMODELLO_1"), _T("Modello 1")},
			   {_T("COMPARA_ISRAGGRUPP_1"), _T("Raggruppamento 1")},
			   {_T("COMPARA_MODELLO_1"), _T("Codice 1")},
			   {_T("COMPARA_DESCRI_MODELLO_1"), _T("Descrizione 1")},
			   {_T("COMPARA_TIPO_DATO_1"), _T("Tipo dato 1")},
			   {_T("COMPARA_VALORE_PRINC_1"), _T("Principale 1")},
			   {_T("COMPARA_VALORE_COLONNA_1"), _T("Colonna numero 1")},
			   {_T("COMPARA_VALORE_NR_COLONNA_1"), _T("Numero colonna 1")},
			   {_T("COMPARA_VALORE_BUDGET_1"), _T("Valore calcolato per il tipo budget 1")},
			   {_T("COMPARA_TIPO_BUDGET_1"), _T("Tipo budget 1")},
			   {_T("COMPARA_PROIEZI_MESI1"), _T("Proiezione mesi 1")},
			   {_T("COMPARA_PROIEZ_TOTMESI1"), _T("Proiezione su 1")},
			   {_T("COMPARA_ESERCIZIO_2"), _T("Esercizio 2")},
			   {_T("COMPARA_MESE_DA_2"), _T("Dal mese 2")},
			   {_T("COMPARA_MESE_A_2"), _T("Al mese 2")},
			   {_T("COMPARA_ISMODELLO_2"), _T("Modello 2")},
			   {_T("COMPARA_ISRAGGRUPP_2"), _T("Raggruppamento 2")},
			   {_T("COMPARA_MODELLO_2"), _T("Codice 2")},
			   {_T("COMPARA_DESCRI_MODELLO_2"), _T("Descrizione 2")},
			   {_T("COMPARA_TIPO_DATO_2"), _T("Tipo dato 2")},
			   {_T("COMPARA_VALORE_PRINC_2"), _T("Principale 2")},
			   {_T("COMPARA_VALORE_COLONNA_2"), _T("Colonna numero 2")},
			   {_T("COMPARA_VALORE_NR_COLONNA_2"), _T("Numero colonna 2")},
			   {_T("COMPARA_VALORE_BUDGET_2"), _T("Valore calcolato per il tipo budget 2")},
			   {_T("COMPARA_TIPO_BUDGET_2"), _T("Tipo budget 2")},
			   {_T("COMPARA_PROIEZI_MESI2"), _T("Proiezione mesi 2")},
			   {_T("COMPARA_PROIEZ_TOTMESI2"), _T("Proiezione su 2")}});
}
