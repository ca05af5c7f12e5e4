#pragma once
// Monthly formulas of the extra-accounting codes: one row per fiscal year, code and month,
// a main formula and ten further ones.
#include "kvznet/kvzmod/kvzdbl/KvzDblEnums.h"
#include "platform/plvges/KeyedQuery.h"

class Kvz_TCodExtracontabili : public SqlRecord
{
	DECLARE_DYNCREATE(Kvz_TCodExtracontabili, SqlRecord)
public:
	explicit Kvz_TCodExtracontabili(BOOL bCallInit = TRUE);
	static LPCTSTR GetStaticName() { return _T("Kvz_CodExtracontabiliMesi"); }
	void BindRecord() override;
	// The formula of a slot: 0 the main one, 1 to 10 the further ones; null for another slot.
	DataStr* GetFormula(int nSlot);

	DataInt f_Esercizio;
	DataStr f_CodExtracont;
	DataInt f_Mese;
	DataStr f_Formula;
	// The further formulas keep the case they are written in.
	DataStr f_Formula1;
	DataStr f_Formula2;
	DataStr f_Formula3;
	DataStr f_Formula4;
	DataStr f_Formula5;
	DataStr f_Formula6;
	DataStr f_Formula7;
	DataStr f_Formula8;
	DataStr f_Formula9;
	DataStr f_Formula10;
};

class Kvz_TEnhCodExtracontabili : public Kvz_TCodExtracontabili
{
	DECLARE_DYNCREATE(Kvz_TEnhCodExtracontabili, Kvz_TCodExtracontabili)
public:
	explicit Kvz_TEnhCodExtracontabili(BOOL bCallInit = TRUE);
	void BindRecord() override;

	DataStr l_Descrizione;  // the code's description, shown beside the month rows
};

// The same table on a given connection (another company's database).
class Kvz_TCodExtracont_Ext : public SqlRecord
{
	DECLARE_DYNCREATE(Kvz_TCodExtracont_Ext, SqlRecord)
public:
	explicit Kvz_TCodExtracont_Ext(BOOL bCallInit = TRUE);
	Kvz_TCodExtracont_Ext(SqlConnection* pConnection, BOOL bCallInit = TRUE);
	static LPCTSTR GetStaticName() { return Kvz_TCodExtracontabili::GetStaticName(); }
	void BindRecord() override;

	DataInt f_Esercizio;
	DataStr f_CodExtracont;
	DataInt f_Mese;
	DataStr f_Formula;
	DataStr f_Formula1;
	DataStr f_Formula2;
	DataStr f_Formula3;
	DataStr f_Formula4;
	DataStr f_Formula5;
	DataStr f_Formula6;
	DataStr f_Formula7;
	DataStr f_Formula8;
	DataStr f_Formula9;
	DataStr f_Formula10;
};

class Kvz_TRCodExtracontabili : public KeyedReader
{
	DECLARE_DYNAMIC(Kvz_TRCodExtracontabili, TableReader)
public:
	explicit Kvz_TRCodExtracontabili(CBaseDocument* pDocument = nullptr);
	FindResult FindRecord(const DataInt& aEsercizio, const DataStr& aCodExtracont, const DataInt& aMese);
	Kvz_TCodExtracontabili* GetRecord() const;

protected:
	DataStr m_CodExtracont;
	DataInt m_Esercizio;
	DataInt m_Mese;
};
