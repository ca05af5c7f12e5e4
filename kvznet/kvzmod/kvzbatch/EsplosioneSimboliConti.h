#pragma once
// Explodes the base-plan symbols of a model into their accounts: for a year and a range of
// months, every account of each symbol's list with its signed base-plan values (ledger,
// forecast adjustments, other adjustments) at account level, into the work table
// Kvz_TmpEsplosioneCodici, then the report "KvzNet.KvzMod.EsplosioneSimboliConti" over it.
#include <memory>

#include "platform/plvges/FormViews.h"

class KVZ_HKLRiclassificazioneTesta;
class SqlTable;
class Kvz_TPianoBaseRighe;

class BDEsplosioneSimboliConti : public CAbstractFormDoc
{
	DECLARE_DYNCREATE(BDEsplosioneSimboliConti, CAbstractFormDoc)
	DECLARE_MESSAGE_MAP()
public:
	static constexpr const char* kReport = "KvzNet.KvzMod.EsplosioneSimboliConti";

	BDEsplosioneSimboliConti();
	~BDEsplosioneSimboliConti() override;

	BOOL OnAttachData() override;
	void OnBatchExecute() override;
	void DisableControlsForBatch() override {}

	// The three values of an account over the months (kind 1 ledger balance, 2 forecast
	// adjustments, 3 other adjustments), at account level: cost centres and jobs left out.
	struct Valori
	{
		double contabile = 0;
		double previsionale = 0;
		double assestamento = 0;
	};
	// Its query errors reach the caller: an account is never listed with values it could not read.
	Valori RitornaValori(const DataStr& aConto);

	DataInt m_Esercizio;
	DataStr m_Modello;
	DataStr m_DescriModello;
	DataInt m_DalMese;
	DataInt m_AlMese;
	DataStr m_StatoElab;
	long m_nRighe = 0;  // work rows written by the last run

protected:
	void OnEsercizioChanged();
	void OnModelloChanged();
	void CancellaElaborazionePrecedente();
	// FALSE, its error shown, when a row could not be read or written.
	bool GeneraTemporaneo();
	void EseguiReport();

private:
	KVZ_HKLRiclassificazioneTesta* m_pHKLModello = nullptr;  // owned by the document
	// One query with three conditional sums, prepared once per run.
	std::unique_ptr<Kvz_TPianoBaseRighe> m_pRigaPB;
	std::unique_ptr<SqlTable> m_pValori;
	DataMon m_SommaContabile, m_SommaPrevisionale, m_SommaAssestamento;
};

class UIEsplosioneSimboliConti : public CMasterFormView
{
	DECLARE_DYNCREATE(UIEsplosioneSimboliConti, CMasterFormView)
public:
	UIEsplosioneSimboliConti() : CMasterFormView(_T("UIEsplosioneSimboliConti"), 31829) {}
	void BuildDataControlLinks() override;
};
