#pragma once
// Comparison of two reclassified plans: two terms, each the stored results of a year, a month
// range, a model (or grouping) code, a kind of base-plan data and a value column, set side by
// side code by code with the carried totals, optional projections to a full period, the
// difference and its percentage; the report "KvzNet.KvzMod.ConfrontoRiclassif" reads the rows
// back one at a time. Template "BDComparazioneRiclassific". Nothing lasting is written.
#include <map>
#include <vector>

#include "kvznet/kvzmod/kvzdocuments/riclassific/ReportRows.h"
#include "platform/plvges/FormViews.h"
#include "platform/plvrendoviewer/CRendoDoc.h"

class KVZ_HKLTmpRiclassificazioneTesta;
class Kvz_HKLCodRaggrupp;

// One reclassified code of the comparison.
struct Kvz_ConfrontoRCLArrayElem
{
	DataStr Chiave;  // the code padded on the left with '0' to 15 characters, cut to 15
	DataStr Descrizione;
	DataDbl Valore1;
	DataDbl Valore2;
	DataDbl Riportato1;
	DataDbl Riportato2;
	DataDbl Proiettato1;
	DataDbl Proiettato2;
	DataDbl Differenza;
	DataPerc Percentuale;
	DataEnum TipoRiga;
	DataInt Posizione;
	DataStr CodRiclassificato;
};
using Kvz_ConfrontoRCLArray = std::vector<Kvz_ConfrontoRCLArrayElem>;

// One term of the comparison, as its form group sets it.
struct Kvz_TermineConfronto
{
	Kvz_TermineConfronto();

	DataInt Esercizio;
	DataInt MeseDa;
	DataInt MeseA;
	DataStr Modello;  // a grouping code when IsRaggrupp
	DataEnum TipoDatoPianoBase;
	DataBool ValorePrinc;
	DataBool ValoreColonna;
	DataInt NrColonna;
	DataBool ValoreBudget;
	DataEnum TipoBudget;
	DataInt ProiezMesi;  // 0: no projection
	DataInt ProiezTotMesi;
	DataBool IsModello;
	DataBool IsRaggrupp;
	DataStr DescriModello;
	DataStr DescriColonnaUsata;
	DataStr DescriProiezione;

	// The results columns of the value and of its carried total ("Valore", "TotaleRiportato" ...);
	// empty names for a column or budget type outside the valid ones.
	kvzdocuments::ColonnaRisultati Colonna() const;
	CString CodiceColonna() const;  // "0", "1".."10", "A".."C"
	// Values are projected to ProiezTotMesi months when ProiezMesi is above 0.
	double Proietta(double v) const;
};

// Pads a code by hand (the C library ignores the 0 flag with %s): "7" gives "000000000000007".
CString Kvz_ChiaveConfronto(const CString& strCodice);
// The percentage difference of the second value over the first, rounded to 2 decimals: 100
// when only the first is zero, 0 when both are.
double Kvz_PercentualeConfronto(double dValore1, double dValore2);

class Kvz_CComparazioneRiclassificDoc : public CAbstractFormDoc
{
	DECLARE_DYNCREATE(Kvz_CComparazioneRiclassificDoc, CAbstractFormDoc)
	DECLARE_MESSAGE_MAP()
public:
	Kvz_CComparazioneRiclassificDoc();
	~Kvz_CComparazioneRiclassificDoc() override;

	BOOL OnAttachData() override;
	// The report runs from the procedure only.
	BOOL CanDoReport() override { return FALSE; }
	void DisableControlsForBatch() override { AbilitaControlli(); }
	void OnBatchExecute() override;

	// Field states of the value choices of both terms.
	void AbilitaControlli();
	// The refusal of the parameters, empty when they are valid.
	CString ControllaParametri() const;
	// The rows of the comparison, unsorted; TRUE when at least one was built. SqlException
	// when a read fails.
	BOOL EstraiDati();
	// Placeholder rows (Temp) in term 1 for the months and codes term 2 has and term 1 lacks,
	// so that such codes are compared too; written and deleted inside the procedure's transaction.
	void ScriveNuoveRigheDaTab2();
	void AnnullaRigheTemp();
	void OrdinaRighe();

	// The row at the index for the report: TRUE; past the last row FALSE, nothing changed.
	DataBool GetRigaComparazione(DataInt nRiga, DataStr& aCodice, DataStr& aDescrizione, DataMon& aValore1,
								 DataMon& aValore2, DataMon& aDifferenza, DataPerc& aPercentuale, DataMon& aRiportato1,
								 DataMon& aRiportato2, DataEnum& aTipoRiga, DataMon& aProiettato1, DataMon& aProiettato2,
								 DataInt& aPosizione);

	Kvz_TermineConfronto m_Termine[2];
	Kvz_ConfrontoRCLArray m_Righe;
	CParsedCtrl* m_pModelloCtrl[2] = {};
	const CPLVNamespace& GetReportNamespace() const { return m_nsReport; }
	// The report document of the last run, while it is open.
	CRendoDoc* GetReport() const { return m_pReport.Get(); }

protected:
	void OnEsercizio1Changed() { OnEsercizioChanged(0); }
	void OnEsercizio2Changed() { OnEsercizioChanged(1); }
	void OnModelloRaggrupp1Changed() { OnModelloRaggruppChanged(0); }
	void OnModelloRaggrupp2Changed() { OnModelloRaggruppChanged(1); }
	void OnModello1Changed() { OnModelloChanged(0); }
	void OnModello2Changed() { OnModelloChanged(1); }
	void OnValoreChanged() { AbilitaControlli(); }
	void OnMeseChanged() { UpdateDataView(); }

private:
	void OnEsercizioChanged(int n);
	void OnModelloRaggruppChanged(int n);
	void OnModelloChanged(int n);
	// The labels of the value column used and of the projection, per term.
	void ComponiEtichette();
	void EseguiReport();

	KVZ_HKLTmpRiclassificazioneTesta* m_pHKLModello[2] = {};
	Kvz_HKLCodRaggrupp* m_pHKLRaggrupp[2] = {};
	CPLVNamespace m_nsReport;
	IDisposablePtr m_pReport;
};

class Kvz_CComparazioneRiclassificView : public CMasterFormView
{
	DECLARE_DYNCREATE(Kvz_CComparazioneRiclassificView, CMasterFormView)
public:
	Kvz_CComparazioneRiclassificView() : CMasterFormView(_T("ComparazioneRiclassificView"), 31818) {}
	void BuildDataControlLinks() override;
};
