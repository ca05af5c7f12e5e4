#include "kvznet/kvzmod/kvzdbl/Kvz_TmpEsplosioneCodici.h"

namespace {
const char* const kSource = "Kvz_TmpEsplosioneCodici";
}

Kvz_TmpEsplosioneCodici::Kvz_TmpEsplosioneCodici(BOOL bCallInit)
	: SqlRecord(GetStaticName(), nullptr, TABLE_TYPE, FALSE)
{
	BindRecord();
	if (bCallInit)
		Init();
}

void Kvz_TmpEsplosioneCodici::BindRecord()
{
	RecordBinder b(*this);
	b.Key("Esercizio", f_Esercizio);
	b.Key("ModelloRiclassific", f_ModelloRiclassific);
	b.Key("CodRiclassificato", f_CodRiclassificato);
	b.Col("Descrizione", f_Descrizione);
	b.Key("Simbolo", f_Simbolo);
	b.Col("DescrizioneSimbolo", f_DescrizioneSimbolo);
	b.Key("Conto", f_Conto);
	b.Col("DescrizioneConto", f_DescrizioneConto);
	b.Col("ValoreContabile", f_ValoreContabile);
	b.Col("ValorePrevisionale", f_ValorePrevisionale);
	b.Col("ValoreAssestamento", f_ValoreAssestamento);
	b.Col("Totale", f_Totale);
	b.End();
}

Kvz_TUTmpEsplosioneCodici::Kvz_TUTmpEsplosioneCodici(CBaseDocument* pDocument, CMessages* pMessages)
	: KeyedUpdater(Kvz_TmpEsplosioneCodici::GetThisClass(), pDocument, pMessages)
{
	m_Keys.Add("p5", "Esercizio", m_Esercizio, false);
	m_Keys.Add("p1", "ModelloRiclassific", m_Modello, false);
	m_Keys.Add("p3", "CodRiclassificato", m_Codice);
	m_Keys.Add("p2", "Simbolo", m_Simbolo, false);
	m_Keys.Add("p4", "Conto", m_Conto, false);
}

TableReader::FindResult Kvz_TUTmpEsplosioneCodici::FindRecord(const DataInt& aEsercizio, const DataStr& aModello,
															   const DataStr& aCodice, const DataStr& aSimbolo,
															   const DataStr& aConto, BOOL bLock)
{
	m_Esercizio = aEsercizio;
	m_Modello = aModello;
	m_Codice = aCodice;
	m_Simbolo = aSimbolo;
	m_Conto = aConto;
	return TableUpdater::FindRecord(bLock, nullptr);
}

Kvz_TmpEsplosioneCodici* Kvz_TUTmpEsplosioneCodici::GetRecord() const
{
	return TypedRecord<Kvz_TmpEsplosioneCodici>("m_pRecord->IsKindOf((Kvz_TmpEsplosioneCodici::GetThisClass()))",
												"Kvz_TUTmpEsplosioneCodici::GetRecord", kSource);
}
