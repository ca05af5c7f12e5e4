#include "kvznet/kvzmod/kvzdbl/Kvz_TElencoContiSimboloPBase.h"

#include "kvznet/kvzmod/kvzdbl/KvzDblLunghezze.h"

namespace {
const char* const kSource = "Kvz_TElencoContiSimboloPBase";
}

Kvz_TElencoContiSimboloPBase::Kvz_TElencoContiSimboloPBase(BOOL bCallInit)
	: SqlRecord(GetStaticName(), nullptr, TABLE_TYPE, FALSE)
{
	f_ModelloRiclassific.SetUpperCase(TRUE);
	f_ContoSelez.SetUpperCase(TRUE);
	f_CentroCommessa.SetUpperCase(TRUE);
	BindRecord();
	if (bCallInit)
		Init();
}

void Kvz_TElencoContiSimboloPBase::BindRecord()
{
	RecordBinder b(*this);
	b.Key("Esercizio", f_Esercizio).Year();
	b.Key("ModelloRiclassific", f_ModelloRiclassific).Code(kKvzLenCodice);
	b.Key("NomeSimbolo", f_NomeSimbolo).Code(kKvzLenNomeSimbolo, true);
	b.Key("ContoSelez", f_ContoSelez);
	b.Key("TipoCentroComm", f_TipoCentroComm);
	b.Key("CentroCommessa", f_CentroCommessa);
	b.Col("SegnoConto", f_SegnoConto);
	b.Col("SelContoVuoto", f_SelContoVuoto);
	b.End();
	// Whether any symbol of a year, of any model, selects an account or an account's split.
	AddIndex({"Esercizio", "ContoSelez", "TipoCentroComm", "CentroCommessa"});
}

// ---- reader ------------------------------------------------------------------------------------

Kvz_TRElencoContiSimboloPBase::Kvz_TRElencoContiSimboloPBase(CBaseDocument* pDocument)
	: SymbolKeyedReader({"p2", "p1", "p3"}, Kvz_TElencoContiSimboloPBase::GetThisClass(), pDocument)
{
}

TableReader::FindResult Kvz_TRElencoContiSimboloPBase::FindRecord(const DataInt& aEsercizio,
																   const DataStr& aNomeSimbolo,
																   const DataStr& aModelloRiclassific,
																   const DataStr& aContoSelez,
																   const DataEnum& aTipoCentroComm,
																   const DataStr& aCentroCommessa)
{
	SetKeys(aEsercizio, aNomeSimbolo, aModelloRiclassific);
	m_ContoSelez = aContoSelez;
	m_TipoCentroComm = aTipoCentroComm;
	m_CentroCommessa = aCentroCommessa;
	return Find(FALSE, FALSE);
}

TableReader::FindResult Kvz_TRElencoContiSimboloPBase::FindRecord(const DataInt& aEsercizio,
																   const DataStr& aNomeSimbolo,
																   const DataStr& aModelloRiclassific,
																   const DataStr& aContoSelez)
{
	SetKeys(aEsercizio, aNomeSimbolo, aModelloRiclassific);
	m_ContoSelez = aContoSelez;
	return Find(TRUE, FALSE);
}

TableReader::FindResult Kvz_TRElencoContiSimboloPBase::FindRecord(const DataInt& aEsercizio,
																   const DataStr& aNomeSimbolo,
																   const DataStr& aModelloRiclassific,
																   const DataEnum& aTipoCentroComm,
																   const DataStr& aCentroCommessa)
{
	SetKeys(aEsercizio, aNomeSimbolo, aModelloRiclassific);
	m_TipoCentroComm = aTipoCentroComm;
	m_CentroCommessa = aCentroCommessa;
	return Find(FALSE, TRUE);
}

TableReader::FindResult Kvz_TRElencoContiSimboloPBase::Find(BOOL bSaltaCdcComm, BOOL bSaltaConto)
{
	m_SaltaCdcComm = bSaltaCdcComm;
	m_SaltaConto = bSaltaConto;
	// The cursor keeps the filters it was defined with: another overload defines it anew, or
	// its parameters would not match its filters.
	bool changed = m_bDefinedSaltaCdcComm != (bSaltaCdcComm != FALSE) || m_bDefinedSaltaConto != (bSaltaConto != FALSE);
	if (m_pTable && changed)
		Free();
	return TableReader::FindRecord();
}

void Kvz_TRElencoContiSimboloPBase::OnDefineQuery()
{
	Kvz_TElencoContiSimboloPBase* pRec = GetRecord();
	m_Keys.Define(*m_pTable);
	if (!m_SaltaConto)
	{
		m_pTable->AddParam("p4", pRec->f_ContoSelez);
		m_pTable->AddFilterColumn(pRec->f_ContoSelez);
	}
	if (!m_SaltaCdcComm)
	{
		m_pTable->AddParam("p5", pRec->f_TipoCentroComm);
		m_pTable->AddFilterColumn(pRec->f_TipoCentroComm);
		m_pTable->AddParam("p6", pRec->f_CentroCommessa);
		m_pTable->AddFilterColumn(pRec->f_CentroCommessa);
	}
	m_bDefinedSaltaCdcComm = m_SaltaCdcComm != FALSE;
	m_bDefinedSaltaConto = m_SaltaConto != FALSE;
}

void Kvz_TRElencoContiSimboloPBase::OnPrepareQuery()
{
	m_Keys.Prepare(*m_pTable);
	if (!m_bDefinedSaltaConto)
		m_pTable->SetParamValue("p4", m_ContoSelez);
	if (!m_bDefinedSaltaCdcComm)
	{
		m_pTable->SetParamValue("p6", m_CentroCommessa);
		m_pTable->SetParamValue("p5", m_TipoCentroComm);
	}
}

Kvz_TElencoContiSimboloPBase* Kvz_TRElencoContiSimboloPBase::GetRecord() const
{
	return TypedRecord<Kvz_TElencoContiSimboloPBase>(
		"m_pRecord->IsKindOf((Kvz_TElencoContiSimboloPBase::GetThisClass()))",
		"Kvz_TRElencoContiSimboloPBase::GetRecord", kSource);
}
