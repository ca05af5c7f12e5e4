#pragma once
// Grouping codes a reclassification model belongs to: one row per year, model and grouping code.
#include "platform/plvges/KeyedQuery.h"

class Kvz_TRiclassificazioneRaggrupp : public SqlRecord
{
	DECLARE_DYNCREATE(Kvz_TRiclassificazioneRaggrupp, SqlRecord)
public:
	explicit Kvz_TRiclassificazioneRaggrupp(BOOL bCallInit = TRUE);
	static LPCTSTR GetStaticName() { return _T("Kvz_RiclassificazioneRaggrupp"); }
	void BindRecord() override;

	DataInt f_Esercizio;
	DataStr f_ModelloRiclassific;
	DataStr f_CodRaggrupp;
};

// With the grouping code's description, shown in the model's grid.
class Kvz_TEnhRiclassificazioneRaggrupp : public Kvz_TRiclassificazioneRaggrupp
{
	DECLARE_DYNCREATE(Kvz_TEnhRiclassificazioneRaggrupp, Kvz_TRiclassificazioneRaggrupp)
public:
	explicit Kvz_TEnhRiclassificazioneRaggrupp(BOOL bCallInit = TRUE);
	void BindRecord() override;

	DataStr l_Descrizione;
};

class Kvz_TRRiclassificazioneRaggrupp : public KeyedReader
{
	DECLARE_DYNAMIC(Kvz_TRRiclassificazioneRaggrupp, TableReader)
public:
	explicit Kvz_TRRiclassificazioneRaggrupp(CBaseDocument* pDocument = nullptr);
	FindResult FindRecord(const DataInt& aEsercizio, const DataStr& aModello, const DataStr& aCodRaggrupp);
	Kvz_TRiclassificazioneRaggrupp* GetRecord() const;

protected:
	DataInt m_Esercizio;
	DataStr m_Modello;
	DataStr m_CodRaggrupp;
};
