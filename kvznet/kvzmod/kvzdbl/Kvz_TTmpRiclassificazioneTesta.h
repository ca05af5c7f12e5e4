#pragma once
// Per-operator work copy of the model headers of a year: the models that operator may choose.
#include "kvznet/kvzmod/kvzdbl/KvzDblEnums.h"
#include "platform/plvges/HotKeyLink.h"
#include "platform/plvges/KeyedQuery.h"

class Kvz_TTmpRiclassificazioneTesta : public SqlRecord
{
	DECLARE_DYNCREATE(Kvz_TTmpRiclassificazioneTesta, SqlRecord)
public:
	explicit Kvz_TTmpRiclassificazioneTesta(BOOL bCallInit = TRUE);
	static LPCTSTR GetStaticName() { return _T("Kvz_TmpRiclassificazioneTesta"); }
	void BindRecord() override;

	DataInt f_Esercizio;
	DataStr f_Operatore;
	DataStr f_ModelloRiclassific;
	DataStr f_Descrizione;
	DataInt f_Priorita;
	DataDate f_DataCreazione;
	DataDate f_DataUltModifica;
	DataDate f_DataInizio;
	DataDate f_DataFine;
	DataEnum f_TipoModello{E_KVZ_TIPOMODELLO, 0};
	DataStr f_FormulaCalcParametrico;
	DataBool f_TuttiOperatori;
};

// Note the order of the arguments: the model before the operator.
class Kvz_TRTmpRiclassificazioneTesta : public KeyedReader
{
	DECLARE_DYNAMIC(Kvz_TRTmpRiclassificazioneTesta, TableReader)
public:
	explicit Kvz_TRTmpRiclassificazioneTesta(CBaseDocument* pDocument = nullptr);
	FindResult FindRecord(const DataInt& aEsercizio, const DataStr& aModello, const DataStr& aOperatore);
	Kvz_TTmpRiclassificazioneTesta* GetRecord() const;

protected:
	DataInt m_Esercizio;
	DataStr m_Modello;
	DataStr m_Operatore;
};

class Kvz_TUTmpRiclassificazioneTesta : public KeyedUpdater
{
	DECLARE_DYNAMIC(Kvz_TUTmpRiclassificazioneTesta, TableUpdater)
public:
	explicit Kvz_TUTmpRiclassificazioneTesta(CBaseDocument* pDocument = nullptr, CMessages* pMessages = nullptr);
	FindResult FindRecord(const DataInt& aEsercizio, const DataStr& aModello, const DataStr& aOperatore, BOOL bLock);
	Kvz_TTmpRiclassificazioneTesta* GetRecord() const;

protected:
	DataInt m_Esercizio;
	DataStr m_Modello;
	DataStr m_Operatore;
};

// Picks one of the selected operator's models of the year the application date had when the
// lookup was built.
class KVZ_HKLTmpRiclassificazioneTesta : public HotKeyLink
{
	DECLARE_DYNCREATE(KVZ_HKLTmpRiclassificazioneTesta, HotKeyLink)
public:
	KVZ_HKLTmpRiclassificazioneTesta();
	void SetSelOperatore(DataStr aOperatore) { m_SelOperatore = aOperatore; }
	void SetSelEsercizio(const DataInt& aEsercizio) { m_SelEsercizio = aEsercizio; }
	const DataInt& GetSelEsercizio() const { return m_SelEsercizio; }
	const DataStr& GetSelOperatore() const { return m_SelOperatore; }
	Kvz_TTmpRiclassificazioneTesta* GetRecord() const;
	DataObj* GetDataObj() const override;

protected:
	void OnDefineQuery(int nSelectionType) override;
	void OnPrepareQuery(DataObj* pDataObj, int nSelectionType) override;

private:
	DataInt m_SelEsercizio;
	DataStr m_SelOperatore;
};
