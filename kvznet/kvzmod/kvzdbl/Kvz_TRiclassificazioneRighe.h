#pragma once
// Reclassification model rows: one row per fiscal year, model and reclassified code, with the
// row's formulas.
#include "kvznet/kvzmod/kvzdbl/KvzDblEnums.h"
#include "platform/plvges/KeyedQuery.h"

class Kvz_TRiclassificazioneRighe : public SqlRecord
{
	DECLARE_DYNCREATE(Kvz_TRiclassificazioneRighe, SqlRecord)
public:
	explicit Kvz_TRiclassificazioneRighe(BOOL bCallInit = TRUE);
	static LPCTSTR GetStaticName() { return _T("Kvz_RiclassificazioneRighe"); }
	void BindRecord() override;

	DataInt f_Esercizio;
	DataStr f_ModelloRiclassific;
	DataStr f_CodRiclassificato;
	DataInt f_Posizione;
	DataStr f_Descrizione;
	DataStr f_Formula;
	DataEnum f_TipoRiga{E_KVZ_TIPORIGA, 0};
	DataEnum f_TipoDatoRitorno{E_KVZ_TIPODATORITORNO, 0};
	DataStr f_Dividendo;
	DataStr f_FormulaBudgetA;
	DataStr f_FormulaBudgetB;
	DataStr f_FormulaBudgetC;
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
	DataEnum f_TipoCalcolo{E_KVZ_TIPOCALCOLO, 0};
	DataStr f_CodRiclDividendoProgr;
	DataStr f_CodRiclDivisoreProgr;
	DataStr f_SegnoDaApplicare;

	DataBool l_Selezionata;
	DataStr l_DescrizioneBreve;
};

// A row with one month's computed values, while the reclassification run works on it.
class Kvz_TEnhRiclassificazioneRighe : public Kvz_TRiclassificazioneRighe
{
	DECLARE_DYNCREATE(Kvz_TEnhRiclassificazioneRighe, Kvz_TRiclassificazioneRighe)
public:
	explicit Kvz_TEnhRiclassificazioneRighe(BOOL bCallInit = TRUE);
	void BindRecord() override;

	DataMon l_Valore;
	DataMon l_ValoreBudgetA;
	DataMon l_ValoreBudgetB;
	DataMon l_ValoreBudgetC;
	DataMon l_Valore1;
	DataMon l_Valore2;
	DataMon l_Valore3;
	DataMon l_Valore4;
	DataMon l_Valore5;
	DataMon l_Valore6;
	DataMon l_Valore7;
	DataMon l_Valore8;
	DataMon l_Valore9;
	DataMon l_Valore10;
	DataInt l_Mese;
	DataMon l_TotRiportato;
	DataMon l_TotRiportatoBudgetA;
	DataMon l_TotRiportatoBudgetB;
	DataMon l_TotRiportatoBudgetC;
	DataMon l_TotRiportato1;
	DataMon l_TotRiportato2;
	DataMon l_TotRiportato3;
	DataMon l_TotRiportato4;
	DataMon l_TotRiportato5;
	DataMon l_TotRiportato6;
	DataMon l_TotRiportato7;
	DataMon l_TotRiportato8;
	DataMon l_TotRiportato9;
	DataMon l_TotRiportato10;
};

// Another company's model rows: the three enumerations as the longs stored, no local field.
class Kvz_TModRiclassRighe_Ext : public SqlRecord
{
	DECLARE_DYNCREATE(Kvz_TModRiclassRighe_Ext, SqlRecord)
public:
	explicit Kvz_TModRiclassRighe_Ext(BOOL bCallInit = TRUE);
	Kvz_TModRiclassRighe_Ext(SqlConnection* pConnection, BOOL bCallInit = TRUE);
	static LPCTSTR GetStaticName() { return Kvz_TRiclassificazioneRighe::GetStaticName(); }
	void BindRecord() override;

	DataInt f_Esercizio;
	DataStr f_ModelloRiclassific;
	DataStr f_CodRiclassificato;
	DataInt f_Posizione;
	DataStr f_Descrizione;
	DataStr f_Formula;
	DataLng f_TipoRiga;
	DataLng f_TipoDatoRitorno;
	DataStr f_Dividendo;
	DataStr f_FormulaBudgetA;
	DataStr f_FormulaBudgetB;
	DataStr f_FormulaBudgetC;
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
	DataLng f_TipoCalcolo;
	DataStr f_CodRiclDividendoProgr;
	DataStr f_CodRiclDivisoreProgr;
	DataStr f_SegnoDaApplicare;
};

// Finds a model row; an empty code with year and model set is still looked up.
class Kvz_TRRiclassificazioneRighe : public KeyedReader
{
	DECLARE_DYNAMIC(Kvz_TRRiclassificazioneRighe, TableReader)
public:
	explicit Kvz_TRRiclassificazioneRighe(CBaseDocument* pDocument = nullptr);
	FindResult FindRecord(const DataInt& aEsercizio, const DataStr& aModello, const DataStr& aCodice);
	Kvz_TRiclassificazioneRighe* GetRecord() const;

protected:
	DataInt m_Esercizio;
	DataStr m_Modello;
	DataStr m_Codice;
};
