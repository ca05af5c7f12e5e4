#pragma once
// Reclassified codes: the rows of each reclassification model, per fiscal year.
#include "kvznet/kvzmod/kvzdbl/KvzDblEnums.h"
#include "platform/plvges/HotKeyLink.h"
#include "platform/plvges/KeyedQuery.h"

class Kvz_TCodiciRiclassificato : public SqlRecord
{
	DECLARE_DYNCREATE(Kvz_TCodiciRiclassificato, SqlRecord)
public:
	explicit Kvz_TCodiciRiclassificato(BOOL bCallInit = TRUE);
	static LPCTSTR GetStaticName() { return _T("Kvz_CodiciRiclassificato"); }
	void BindRecord() override;

	DataInt f_Esercizio;
	DataStr f_ModelloRiclassific;
	DataStr f_CodRiclassificato;
	DataStr f_Descrizione;
	DataEnum f_TipoRiga{E_KVZ_TIPORIGA, 0};
	DataEnum f_TipoDatoRitorno{E_KVZ_TIPODATORITORNO, 0};
	DataBool f_DaRiportare;
};

// The same table on a given connection (another company's database); enumerations are read
// as the plain long integers stored.
class Kvz_TCodiciRiclassificato_Ext : public SqlRecord
{
	DECLARE_DYNCREATE(Kvz_TCodiciRiclassificato_Ext, SqlRecord)
public:
	explicit Kvz_TCodiciRiclassificato_Ext(BOOL bCallInit = TRUE);
	Kvz_TCodiciRiclassificato_Ext(SqlConnection* pConnection, BOOL bCallInit = TRUE);
	static LPCTSTR GetStaticName() { return Kvz_TCodiciRiclassificato::GetStaticName(); }
	void BindRecord() override;

	DataInt f_Esercizio;
	DataStr f_ModelloRiclassific;
	DataStr f_CodRiclassificato;
	DataStr f_Descrizione;
	DataLng f_TipoRiga;
	DataLng f_TipoDatoRitorno;
	DataBool f_DaRiportare;
};

class Kvz_TUCodiciRiclassificato : public KeyedUpdater
{
	DECLARE_DYNAMIC(Kvz_TUCodiciRiclassificato, TableUpdater)
public:
	explicit Kvz_TUCodiciRiclassificato(CBaseDocument* pDocument = nullptr, CMessages* pMessages = nullptr);
	// The code comes before the model.
	FindResult FindRecord(const DataInt& aEsercizio, const DataStr& aCodRiclassificato, const DataStr& aModello,
						  BOOL bLock);
	Kvz_TCodiciRiclassificato* GetRecord() const;

protected:
	DataInt m_Esercizio;
	DataStr m_CodRiclassificato;
	DataStr m_Modello;
};

// The codes of one model in one year.
class KVZ_HKLCodiciRiclassificato : public HotKeyLink
{
	DECLARE_DYNCREATE(KVZ_HKLCodiciRiclassificato, HotKeyLink)
public:
	KVZ_HKLCodiciRiclassificato();
	void SetSelEsercizio(const DataInt& aEsercizio) { m_SelEsercizio = aEsercizio; }
	void SetSelModello(const DataStr& aModello) { m_SelModello = aModello; }
	Kvz_TCodiciRiclassificato* GetRecord() const;
	DataObj* GetDataObj() const override;

protected:
	void OnDefineQuery(int nSelectionType) override;
	void OnPrepareQuery(DataObj* pValue, int nSelectionType) override;

private:
	DataInt m_SelEsercizio;
	DataStr m_SelModello;
};
