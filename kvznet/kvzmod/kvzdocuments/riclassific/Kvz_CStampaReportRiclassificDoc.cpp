#include "kvznet/kvzmod/kvzdocuments/riclassific/Kvz_CStampaReportRiclassificDoc.h"

#include <cmath>
#include <map>
#include <string>

#include "kvznet/kvzmod/kvzdbl/KvzDblInfo.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TCodRaggrupp.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificato.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificazioneRighe.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TTmpRiclassificazioneTesta.h"
#include "kvznet/kvzmod/kvzdocuments/riclassific/Progressivi.h"
#include "kvznet/kvzmod/kvzdocuments/riclassific/ReportRun.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvgeneric/Interaction.h"
#include "platform/plvgenlib/CommandManager.h"
#include "platform/plvnamesolver/ApplicationContext.h"
#include "platform/plvoledb/SqlException.h"
#include "platform/plvoledb/SqlTable.h"
#include "platform/plvrendoviewer/ReportDefinition.h"

namespace {
const char* const kSource = "Kvz_CStampaReportRiclassificDoc";
const char* const kDocumentNs = "KvzNet.KvzMod.KvzDocuments.BDStampaReportRiclassific";
// Rows of this kind are never read for the statement.
const WORD kTipoRigaEsclusa = 7;

enum : UINT
{
	IDC_STP_RCL_PBASE_TIPO_DATO = 52000,
	IDC_STP_RCL_PBASE_ESERCIZIO = 52001,
	IDC_STP_RCL_PBASE_MESE = 52002,
	IDC_STP_RCL_PBASE_MODELLO = 52003,
	IDC_STP_RCL_PBASE_DESCRI_MODELLO = 52004,
	IDC_STP_RCL_PBASE_DALMESE = 52005,
	IDC_STP_RCL_PBASE_IS_MODELLO = 52006,
	IDC_STP_RCL_PBASE_IS_RAGGRUPP = 52007,
	IDC_STP_RCL_PBASE_COLONNA = 52008,
	IDC_STP_RCL_PBASE_SCELTA_REPORT = 52009,
	IDC_STP_RCL_PBASE_TITOLO = 52010,
	IDC_STP_RCL_PBASE_PARAMETRI = 52011,
};

void ShowSqlError(const SqlException& e, const char* method)
{
	ASSERT_RELEASE_TRACE(e.IsKindOf(RUNTIME_CLASS(SqlException)), method, kSource);
	e.ShowError();
}

double FieldValue(const SqlRecord& rec, const CString& column)
{
	if (column.IsEmpty())
		return 0;
	const DataObj* p = rec.GetDataObjFromColumnName(column);
	return p && p->IsKindOf(RUNTIME_CLASS(DataDbl)) ? static_cast<const DataDbl*>(p)->GetValue() : 0;
}
}  // namespace

// The results of the range read once, with what the progressives need: the statement is
// built from memory and writes nothing back.
class Kvz_CStampaReportRiclassificDoc::Estrazione
{
public:
	struct Riga
	{
		CString codice;
		CString descrizione;
		DataEnum tipoRiga;
		int mese = 0;
		bool esclusa = false;  // of the kind never printed
		double valore = 0;     // the column's value field
		double riportato = 0;  // the column's reported-total field
		CString segno, dividendo, divisore;
	};
	// A code's rows in the range (every kind), first by position then month.
	struct Codice
	{
		std::vector<size_t> righe;
		int posizione = 0;
	};
	struct Progressivo
	{
		CString segno, dividendo, divisore;
	};

	std::vector<Riga> m_Righe;
	std::map<CString, Codice> m_Codici;
	std::map<CString, Progressivo> m_RigheModello;  // selection by model: the model rows' settings
};


BEGIN_MESSAGE_MAP(Kvz_CStampaReportRiclassificDoc, CAbstractFormDoc)
	ON_EN_VALUE_CHANGED(IDC_STP_RCL_PBASE_ESERCIZIO, OnEsercizioChanged)
	ON_EN_VALUE_CHANGED(IDC_STP_RCL_PBASE_IS_MODELLO, OnModelloRaggruppChanged)
	ON_EN_VALUE_CHANGED(IDC_STP_RCL_PBASE_IS_RAGGRUPP, OnModelloRaggruppChanged)
	ON_EN_VALUE_CHANGED(IDC_STP_RCL_PBASE_MODELLO, OnModelloChanged)
	ON_EN_VALUE_CHANGED(IDC_STP_RCL_PBASE_COLONNA, OnColonnaChanged)
	ON_BN_CLICKED(IDC_STP_RCL_PBASE_SCELTA_REPORT, OnSceltaReport)
END_MESSAGE_MAP()

Kvz_CStampaReportRiclassificDoc::Kvz_CStampaReportRiclassificDoc()
	: m_Esercizio(AfxGetApplicationDate().Year()),
	  m_DalMese(1),
	  m_AlMese(AfxGetApplicationDate().Month()),
	  m_TipoDato(E_KVZ_TIPODATOPBASE, 0),
	  m_IsModello(TRUE),
	  m_IsRaggrupp(FALSE),
	  m_Colonna("0")
{
	m_Modello.SetUpperCase();
	m_Colonna.SetUpperCase();
}

Kvz_CStampaReportRiclassificDoc::~Kvz_CStampaReportRiclassificDoc() = default;

BOOL Kvz_CStampaReportRiclassificDoc::OnAttachData()
{
	SetFormTitle(_T("Stampa report riclassificazione"));
	const CString operatore = AfxGetLoginInfos() ? AfxGetLoginInfos()->m_strUserName : CString();
	m_pHKLModello = new KVZ_HKLTmpRiclassificazioneTesta;
	Attach(m_pHKLModello, _T("HKLModello"));
	m_pHKLModello->SetSelEsercizio(DataInt(AfxGetApplicationDate().Year()));
	m_pHKLModello->SetSelOperatore(DataStr(operatore));
	m_pHKLRaggrupp = new Kvz_HKLCodRaggrupp;
	Attach(m_pHKLRaggrupp, _T("HKLRaggrupp"));
	m_pHKLRaggrupp->EnableAddOnFly(FALSE);
	AfxGetKvzDblInfo()->GeneraTmpRiclassificazioneTesta(DataStr(operatore));
	m_nsReport = CPLVNamespace(AfxGetDocumentDefaultReport(GetNamespace().IsValid() ? GetNamespace().GetPathName()
																					  : CString(kDocumentNs)));
	return TRUE;
}

void Kvz_CStampaReportRiclassificDoc::OnEsercizioChanged()
{
	m_pHKLModello->SetSelEsercizio(m_Esercizio);
}

void Kvz_CStampaReportRiclassificDoc::OnModelloRaggruppChanged()
{
	m_Modello.Clear();
	m_DescriModello.Clear();
	if (m_pModelloCtrl)
		m_pModelloCtrl->ReattachHotKeyLink(m_IsModello ? static_cast<HotKeyLinkObj*>(m_pHKLModello) : m_pHKLRaggrupp);
	UpdateDataView();
}

void Kvz_CStampaReportRiclassificDoc::OnModelloChanged()
{
	if (m_Modello.IsEmpty())
		m_DescriModello.Clear();
	else if (m_IsModello)
		m_DescriModello = m_pHKLModello->GetRecord()->f_Descrizione;
	else
		m_DescriModello = m_pHKLRaggrupp->GetRecord()->f_Descrizione;
	UpdateDataView();
}

void Kvz_CStampaReportRiclassificDoc::OnColonnaChanged()
{
	if (kvzdocuments::ColonnaDaStampare(m_Colonna.GetString()).IsValid())
		return;
	AfxMessageBox(kvzdocuments::kColonnaErrata);
	SetCtrlFocus(IDC_STP_RCL_PBASE_COLONNA);
}

void Kvz_CStampaReportRiclassificDoc::OnSceltaReport()
{
	if (ReportMngDlg(m_strReportName, kDocumentNs).DoModal() == IDOK && !m_strReportName.IsEmpty())
		m_nsReport = CPLVNamespace(m_strReportName);
}

void Kvz_CStampaReportRiclassificDoc::OnBatchExecute()
{
	CString errore;
	if (m_Modello.IsEmpty())
		errore = "Indicare il modello di riclassificazione.";
	else if (m_Colonna.IsEmpty())
		errore = "Indicare la colonna da stampare.";
	// A column or month range that reads nothing would print a statement of zeros.
	else if (!kvzdocuments::ColonnaDaStampare(m_Colonna.GetString()).IsValid())
		errore = kvzdocuments::kColonnaErrata;
	else if (m_DalMese < 1 || m_AlMese > 12 || m_DalMese > m_AlMese)
		errore = CString::Formatted("Mesi errati (dal mese %d al mese %d): indicare mesi da 1 a 12, il primo non "
									"oltre l'ultimo.",
									m_DalMese.GetValue(), m_AlMese.GetValue());
	if (!errore.IsEmpty())
	{
		AfxMessageBox(errore);
		m_bBatchNotStarted = true;
		return;
	}
	if (!StartBatchTransaction())
		return;
	BeginWaitCursor();
	for (int& n : m_nQuadrim)
		n = -1;
	const BOOL bEstratti = EstraiDati();
	if (!bEstratti)
	{
		AfxMessageBox("Nessun dato estratto per i parametri impostati.");
		m_bBatchNotStarted = true;
	}
	else if (!GetScheduler()->IsAborted())
		EseguiReport();
	EndWaitCursor();
	UpdateDataView();
	if (bEstratti)
		GetContext()->Commit();
	else
	{
		GetContext()->UnlockAll();
		GetContext()->Rollback();
	}
}

void Kvz_CStampaReportRiclassificDoc::EseguiReport()
{
	auto setInputs = [&](CRendoInfo& info) {
		info.AddParam("w_ModelloInput", m_Modello);
		info.AddParam("w_EsercInput", m_Esercizio);
		info.AddParam("w_AlMeseInput", m_AlMese);
		info.AddParam("w_DalMeseInput", m_DalMese);
		info.AddParam("w_TipoDatoPBase", m_TipoDato);
		info.AddParam("w_ColonnaInput", m_Colonna);
	};
	kvzdocuments::EseguiReportProcedura(this, m_pReport, m_nsReport, setInputs);
}

BOOL Kvz_CStampaReportRiclassificDoc::EstraiDati()
{
	for (auto& q : m_Quadrim)
		q.clear();
	const kvzdocuments::ColonnaRisultati colonna = kvzdocuments::ColonnaDaStampare(m_Colonna.GetString());
	const BOOL bRaggrupp = m_IsRaggrupp;
	const int nDal = m_DalMese, nAl = m_AlMese;
	Estrazione e;
	BOOL bLetto = FALSE;
	try
	{
		// Every row of the range, of every kind: the progressives of a model's codes read the
		// rows of the kind never printed too.
		Kvz_TRiclassificato rec;
		SqlTable t(&rec, GetReadOnlySqlSession(), this);
		t.Open(FALSE);
		t.SelectAll();
		kvzdocuments::FiltraRisultati(t, rec, m_Esercizio, m_Modello, m_DalMese, m_AlMese);
		t.AddParam("p5", rec.f_TipoDatoPianoBase);
		t.AddFilterColumn(rec.f_TipoDatoPianoBase);
		t.SetParamValue("p5", m_TipoDato);
		// By code within a position: two codes at one position must not interleave.
		t.AddSortColumn(rec.f_Posizione);
		t.AddSortColumn(rec.f_CodRiclassificato);
		t.AddSortColumn(rec.f_Mese);
		for (t.Query(); !t.IsEOF(); t.MoveNext())
		{
			Estrazione::Riga r;
			r.codice = rec.f_CodRiclassificato.GetString();
			r.descrizione = rec.f_Descrizione.GetString();
			r.tipoRiga = rec.f_TipoRiga;
			r.mese = rec.f_Mese;
			r.esclusa = rec.f_TipoRiga.GetItemValue() == kTipoRigaEsclusa;
			r.valore = FieldValue(rec, colonna.valore);
			r.riportato = FieldValue(rec, colonna.riportato);
			r.segno = rec.f_SegnoDaApplicare.GetString();
			r.dividendo = rec.f_CodRiclDividendoProgr.GetString();
			r.divisore = rec.f_CodRiclDivisoreProgr.GetString();
			Estrazione::Codice& c = e.m_Codici[r.codice];
			if (c.righe.empty())
				c.posizione = rec.f_Posizione;
			c.righe.push_back(e.m_Righe.size());
			e.m_Righe.push_back(std::move(r));
		}
		t.Close();
		if (!bRaggrupp)
		{
			Kvz_TRiclassificazioneRighe riga;
			SqlTable m(&riga, GetReadOnlySqlSession(), this);
			m.Open(FALSE);
			m.Select(riga.f_CodRiclassificato);
			m.Select(riga.f_SegnoDaApplicare);
			m.Select(riga.f_CodRiclDividendoProgr);
			m.Select(riga.f_CodRiclDivisoreProgr);
			m.AddParam("p7", riga.f_Esercizio);
			m.AddFilterColumn(riga.f_Esercizio);
			m.AddParam("p8", riga.f_ModelloRiclassific);
			m.AddFilterColumn(riga.f_ModelloRiclassific);
			m.AddParam("p12", riga.f_TipoRiga);
			m.AddFilterColumn(riga.f_TipoRiga, "<>");
			m.SetParamValue("p7", m_Esercizio);
			m.SetParamValue("p8", m_Modello);
			m.SetParamValue("p12", DataEnum(E_KVZ_TIPORIGA, kTipoRigaEsclusa));
			for (m.Query(); !m.IsEOF(); m.MoveNext())
				e.m_RigheModello[riga.f_CodRiclassificato.GetString()] = {
					riga.f_SegnoDaApplicare.GetString(), riga.f_CodRiclDividendoProgr.GetString(),
					riga.f_CodRiclDivisoreProgr.GetString()};
			m.Close();
		}
	}
	catch (const SqlException& ex)
	{
		ShowSqlError(ex, "Kvz_CStampaReportRiclassificDoc::EstraiDati");
	}

	// A code's value over the range as printed: kinds 2 and 3 take their first or last month
	// alone, every other kind the sum. By model an operand may be a row of the kind never
	// printed; by grouping only the printed kinds count.
	auto valoreDi = [&](const CString& codice) {
		auto it = e.m_Codici.find(codice);
		if (it == e.m_Codici.end() || it->second.righe.empty())
			return 0.0;
		const WORD nTipo = e.m_Righe[it->second.righe.front()].tipoRiga.GetItemValue();
		const int nDa = nTipo == 3 ? nAl : nDal;
		const int nA = nTipo == 2 ? nDal : nAl;
		double somma = 0;
		for (size_t i : it->second.righe)
		{
			const Estrazione::Riga& x = e.m_Righe[i];
			if ((bRaggrupp && x.esclusa) || x.mese < nDa || x.mese > nA)
				continue;
			somma += x.valore;
		}
		return somma;
	};
	// By grouping the results carry each code's sign and operands; by model its row does.
	std::map<CString, kvzdocuments::ProgressivoCodice> progressivi;
	if (bRaggrupp)
	{
		for (const auto& [codice, c] : e.m_Codici)
			for (size_t i : c.righe)
				if (!e.m_Righe[i].esclusa)
				{
					const Estrazione::Riga& r = e.m_Righe[i];
					progressivi[codice] = {r.segno, r.dividendo, r.divisore};
					break;
				}
	}
	else
		for (const auto& [codice, p] : e.m_RigheModello)
			progressivi[codice] = {p.segno, p.dividendo, p.divisore};
	kvzdocuments::ProgressiviCalcolati calcolo(progressivi, valoreDi);

	kvzdocuments::RigaQuadrimestre* pUltima = nullptr;
	int nUltimoPeriodo = -1;
	for (const Estrazione::Riga& r : e.m_Righe)
	{
		if (GetScheduler()->IsAborted())
			break;
		if (r.esclusa)
			continue;
		bLetto = TRUE;
		const int nPeriodo = (r.mese - 1) / 4;
		if (nPeriodo < 0 || nPeriodo > 2)
			continue;
		if (!pUltima || nPeriodo != nUltimoPeriodo || pUltima->Codice.GetString() != r.codice)
		{
			pUltima = &m_Quadrim[nPeriodo].emplace_back();
			nUltimoPeriodo = nPeriodo;
			pUltima->Codice = r.codice;
			pUltima->Descrizione = r.descrizione;
			pUltima->TipoRiga = r.tipoRiga;
			double b = 0;
			for (size_t i : e.m_Codici[r.codice].righe)
				if (!e.m_Righe[i].esclusa)
					b += e.m_Righe[i].riportato;
			// The code's progressive over this range, else its own months' value.
			pUltima->Importi[8] = GetScheduler()->IsAborted() ? valoreDi(r.codice) : calcolo.Valore(r.codice);
			pUltima->Importi[9] = b;
		}
		// Months 1, 5, 9 fill the first pair, 2, 6, 10 the second, and so on.
		const int nSlot = (r.mese - 1) % 4;
		pUltima->Importi[nSlot * 2] = r.valore;
		pUltima->Importi[nSlot * 2 + 1] = r.riportato;
	}
	for (int q = 0; q < 3; ++q)
		m_nQuadrim[q] = static_cast<int>(m_Quadrim[q].size()) - 1;
	return bLetto;
}

DataMon Kvz_CStampaReportRiclassificDoc::Kvz_GetValoreDelMese(DataInt aEsercizio, DataStr aModello, DataInt aMese,
															 DataStr aCodice, DataStr aColonna, DataEnum aTipoDato)
{
	DataMon valore;
	const CString colonna = kvzdocuments::ColonnaDaStampare(aColonna.GetString()).valore;
	if (colonna.IsEmpty())
		return valore;
	Kvz_TRiclassificato rec;
	try
	{
		SqlTable table(&rec, GetReadOnlySqlSession(), this);
		table.Open(FALSE);
		table.SelectAll();
		table.AddParam("pEs", rec.f_Esercizio);
		table.AddFilterColumn(rec.f_Esercizio);
		table.AddParam("pMod", rec.f_ModelloRiclassific);
		table.AddFilterColumn(rec.f_ModelloRiclassific);
		table.AddParam("pMese", rec.f_Mese);
		table.AddFilterColumn(rec.f_Mese);
		table.AddParam("pCod", rec.f_CodRiclassificato);
		table.AddFilterColumn(rec.f_CodRiclassificato);
		table.AddParam("p11", rec.f_TipoDatoPianoBase);
		table.AddFilterColumn(rec.f_TipoDatoPianoBase);
		table.SetParamValue("pEs", aEsercizio);
		table.SetParamValue("pMod", aModello);
		table.SetParamValue("pMese", aMese);
		table.SetParamValue("pCod", aCodice);
		table.SetParamValue("p11", aTipoDato);
		table.Query();
		if (!table.IsEOF())
			valore = FieldValue(rec, colonna);
	}
	catch (const SqlException& e)
	{
		ShowSqlError(e, "Kvz_CStampaReportRiclassificDoc::Kvz_GetValoreDelMese");
	}
	return valore;
}

DataBool Kvz_CStampaReportRiclassificDoc::Kvz_GetRigaQuadrim1(DataInt nRiga, DataStr& aCodice, DataStr& aDescrizione, DataMon& aImporto1, DataMon& aImporto2, DataMon& aImporto3, DataMon& aImporto4, DataMon& aImporto5, DataMon& aImporto6, DataMon& aImporto7, DataMon& aImporto8, DataMon& aImporto9, DataMon& aImporto10, DataEnum& aTipoRiga)
{
	return kvzdocuments::CopyRigaQuadrimestre(m_Quadrim[0], nRiga, aCodice, aDescrizione, KVZ_TEN_AMOUNTS(aImporto),
											  10, &aTipoRiga);
}

DataBool Kvz_CStampaReportRiclassificDoc::Kvz_GetRigaQuadrim2(DataInt nRiga, DataStr& aCodice, DataStr& aDescrizione, DataMon& aImporto1, DataMon& aImporto2, DataMon& aImporto3, DataMon& aImporto4, DataMon& aImporto5, DataMon& aImporto6, DataMon& aImporto7, DataMon& aImporto8, DataMon& aImporto9, DataMon& aImporto10, DataEnum& aTipoRiga)
{
	return kvzdocuments::CopyRigaQuadrimestre(m_Quadrim[1], nRiga, aCodice, aDescrizione, KVZ_TEN_AMOUNTS(aImporto),
											  10, &aTipoRiga);
}

DataBool Kvz_CStampaReportRiclassificDoc::Kvz_GetRigaQuadrim3(DataInt nRiga, DataStr& aCodice, DataStr& aDescrizione, DataMon& aImporto1, DataMon& aImporto2, DataMon& aImporto3, DataMon& aImporto4, DataMon& aImporto5, DataMon& aImporto6, DataMon& aImporto7, DataMon& aImporto8, DataMon& aImporto9, DataMon& aImporto10, DataEnum& aTipoRiga)
{
	return kvzdocuments::CopyRigaQuadrimestre(m_Quadrim[2], nRiga, aCodice, aDescrizione, KVZ_TEN_AMOUNTS(aImporto),
											  10, &aTipoRiga);
}

void Kvz_CStampaReportRiclassificView::BuildDataControlLinks()
{
	auto* pDoc = static_cast<Kvz_CStampaReportRiclassificDoc*>(GetDocument());
	AddStaticText(IDC_STP_RCL_PBASE_TITOLO, _T("STAMPA REPORT RICLASSIFICAZIONE DEL PIANO BASE"));
	AddStaticText(IDC_STP_RCL_PBASE_PARAMETRI, _T("Parametri"));
	AddLink(IDC_STP_RCL_PBASE_ESERCIZIO, _T("Esercizio:"), RUNTIME_CLASS(CIntEdit), &pDoc->m_Esercizio);
	pDoc->m_Esercizio.SetFieldRule(FieldRule::AnYear());
	AddLink(IDC_STP_RCL_PBASE_DALMESE, _T("Dal mese:"), RUNTIME_CLASS(CIntEdit), &pDoc->m_DalMese);
	AddLink(IDC_STP_RCL_PBASE_MESE, _T("Al mese:"), RUNTIME_CLASS(CIntEdit), &pDoc->m_AlMese);
	AddRadio(IDC_STP_RCL_PBASE_IS_MODELLO, _T("Modello"), &pDoc->m_IsModello, 1);
	AddRadio(IDC_STP_RCL_PBASE_IS_RAGGRUPP, _T("Raggruppamento"), &pDoc->m_IsRaggrupp, 1);
	pDoc->m_pModelloCtrl = AddLink(IDC_STP_RCL_PBASE_MODELLO, _T("Codice:"), RUNTIME_CLASS(CStrEdit), &pDoc->m_Modello,
								   pDoc->GetHotLink(_T("HKLModello")));
	AddLink(IDC_STP_RCL_PBASE_DESCRI_MODELLO, _T("STP_RCL_PBASE_DESCRI_MODELLO"), RUNTIME_CLASS(CStrStatic),
			&pDoc->m_DescriModello);
	SetLabels({{_T("STP_RCL_PBASE_DESCRI_MODELLO"), _T("Descrizione modello")}});
	AddLink(IDC_STP_RCL_PBASE_TIPO_DATO, _T("Elaborazione relativa al dato:"), RUNTIME_CLASS(CEnumCombo),
			&pDoc->m_TipoDato);
	AddLink(IDC_STP_RCL_PBASE_COLONNA, _T("Colonna/Budget da stampare (0..10,A/B/C)"), RUNTIME_CLASS(CStrEdit),
			&pDoc->m_Colonna);
	AddButton(IDC_STP_RCL_PBASE_SCELTA_REPORT, _T("&Seleziona report"));
}
