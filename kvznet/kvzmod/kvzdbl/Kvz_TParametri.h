#pragma once
// Module parameters: a single row (IDParam 1) with the reading basis of balances, the VAT
// payment, the segment layout of grouped-account codes and the fields not to import.
#include "kvznet/kvzmod/kvzdbl/KvzDblEnums.h"
#include "platform/plvges/KeyedQuery.h"

class Kvz_TParametri : public SqlRecord
{
	DECLARE_DYNCREATE(Kvz_TParametri, SqlRecord)
public:
	explicit Kvz_TParametri(BOOL bCallInit = TRUE);
	static LPCTSTR GetStaticName() { return _T("Kvz_Parametri"); }
	void BindRecord() override;

	DataLng f_IDParam;
	DataEnum f_BaseDiLettura{E_BASEDILETTURA, 0};
	DataEnum f_PagamentoIVA{E_PAGAMENTOIVA, 0};
	DataInt f_LenMastro;
	DataInt f_NrSegmenti;
	DataStr f_NomeSeg1;
	DataInt f_LenSeg1;
	DataStr f_NomeSeg2;
	DataInt f_LenSeg2;
	DataStr f_NomeSeg3;
	DataInt f_LenSeg3;
	DataStr f_NomeSeg4;
	DataInt f_LenSeg4;
	DataStr f_NomeSeg5;
	DataInt f_LenSeg5;
	DataStr f_NomeSeg6;
	DataInt f_LenSeg6;
	DataStr f_NomeSeg7;
	DataInt f_LenSeg7;
	DataDate f_DataUltimaImportazSaldi;
	DataBool f_DNI_ContoCollegato;
	DataBool f_DNI_ProponiInFiltroAssest;
	DataBool f_DNI_ModificaInAssestamento;
	DataBool f_DNI_InversioneSegno;
	DataBool f_DNI_AggiungiCdcCommAuto;
};

// Reads the row IDParam 1, querying the database on every call.
class Kvz_TRParametri : public KeyedReader
{
	DECLARE_DYNAMIC(Kvz_TRParametri, TableReader)
public:
	explicit Kvz_TRParametri(CBaseDocument* pDocument = nullptr);
	FindResult FindRecord() override;
	Kvz_TParametri* GetRecord() const;

protected:
	void OnDefineQuery() override;
	void OnPrepareQuery() override;
	BOOL IsEmptyQuery() override { return FALSE; }
};

class Kvz_TUParametri : public KeyedUpdater
{
	DECLARE_DYNAMIC(Kvz_TUParametri, TableUpdater)
public:
	explicit Kvz_TUParametri(CBaseDocument* pDocument = nullptr, CMessages* pMessages = nullptr);
	Kvz_TParametri* GetRecord() const;

protected:
	void OnDefineQuery() override;
	void OnPrepareQuery() override;
	BOOL IsEmptyQuery() override { return FALSE; }
};
