#pragma once
// Macros of the formulas: a name standing for a formula text, per fiscal year and model.
#include "kvznet/kvzmod/kvzdbl/KvzDblEnums.h"
#include "platform/plvges/KeyedQuery.h"

class Kvz_TAnagMacro : public SqlRecord
{
	DECLARE_DYNCREATE(Kvz_TAnagMacro, SqlRecord)
public:
	explicit Kvz_TAnagMacro(BOOL bCallInit = TRUE);
	static LPCTSTR GetStaticName() { return _T("Kvz_AnagMacro"); }
	void BindRecord() override;

	DataInt f_Esercizio;
	DataStr f_ModelloRiclassific;  // stored as given, unlike the symbol tables
	DataStr f_NomeMacro;           // stored as given
	DataStr f_Formula;
	DataStr f_Annotazioni;
	DataDate f_DataCreazione;
	DataDate f_DataUltModifica;
};

// Name before model, although the model is the second column.
class Kvz_TRAnagMacro : public KeyedReader
{
	DECLARE_DYNAMIC(Kvz_TRAnagMacro, TableReader)
public:
	explicit Kvz_TRAnagMacro(CBaseDocument* pDocument = nullptr);
	FindResult FindRecord(const DataInt& aEsercizio, const DataStr& aNomeMacro, const DataStr& aModelloRiclassific);
	Kvz_TAnagMacro* GetRecord() const;

protected:
	DataInt m_Esercizio;
	DataStr m_NomeMacro;
	DataStr m_ModelloRiclassific;
};

class Kvz_TUAnagMacro : public KeyedUpdater
{
	DECLARE_DYNAMIC(Kvz_TUAnagMacro, TableUpdater)
public:
	explicit Kvz_TUAnagMacro(CBaseDocument* pDocument = nullptr, CMessages* pMessages = nullptr);
	FindResult FindRecord(const DataInt& aEsercizio, const DataStr& aNomeMacro, const DataStr& aModelloRiclassific,
						  BOOL bLock);
	Kvz_TAnagMacro* GetRecord() const;

protected:
	DataInt m_Esercizio;
	DataStr m_NomeMacro;
	DataStr m_ModelloRiclassific;
};
