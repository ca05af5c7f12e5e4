#include "kvznet/kvzmod/kvzdbl/Kvz_TAnagMacro.h"

#include "kvznet/kvzmod/kvzdbl/KvzDblLunghezze.h"

namespace {
const char* const kSource = "Kvz_TAnagMacro";

// Only the name stops the query: year 0 and an empty model are searched as they are.
void AddMacroKeys(KeyedQuery& keys, DataInt& aEsercizio, DataStr& aNome, DataStr& aModello)
{
	keys.Add("p2", "Esercizio", aEsercizio, false);
	keys.Add("p1", "NomeMacro", aNome);
	keys.Add("p3", "ModelloRiclassific", aModello, false);
}
}  // namespace

Kvz_TAnagMacro::Kvz_TAnagMacro(BOOL bCallInit) : SqlRecord(GetStaticName(), nullptr, TABLE_TYPE, FALSE)
{
	f_Formula.SetUpperCase(TRUE);
	BindRecord();
	if (bCallInit)
		Init();
}

void Kvz_TAnagMacro::BindRecord()
{
	RecordBinder b(*this);
	b.Key("Esercizio", f_Esercizio).Year();
	b.Key("ModelloRiclassific", f_ModelloRiclassific).Code(kKvzLenCodice);
	b.Key("NomeMacro", f_NomeMacro).Code(kKvzLenNomeSimbolo, true);
	b.Col("Formula", f_Formula);
	b.Col("Annotazioni", f_Annotazioni);
	b.Col("DataCreazione", f_DataCreazione);
	b.Col("DataUltModifica", f_DataUltModifica);
	b.End();
}

// ---- reader and updater ------------------------------------------------------------------------

Kvz_TRAnagMacro::Kvz_TRAnagMacro(CBaseDocument* pDocument) : KeyedReader(Kvz_TAnagMacro::GetThisClass(), pDocument)
{
	AddMacroKeys(m_Keys, m_Esercizio, m_NomeMacro, m_ModelloRiclassific);
}

TableReader::FindResult Kvz_TRAnagMacro::FindRecord(const DataInt& aEsercizio, const DataStr& aNomeMacro,
													 const DataStr& aModelloRiclassific)
{
	m_Esercizio = aEsercizio;
	m_NomeMacro = aNomeMacro;
	m_ModelloRiclassific = aModelloRiclassific;
	return TableReader::FindRecord();
}

Kvz_TAnagMacro* Kvz_TRAnagMacro::GetRecord() const
{
	return TypedRecord<Kvz_TAnagMacro>("m_pRecord->IsKindOf((Kvz_TAnagMacro::GetThisClass()))",
									   "Kvz_TRAnagMacro::GetRecord", kSource);
}

Kvz_TUAnagMacro::Kvz_TUAnagMacro(CBaseDocument* pDocument, CMessages* pMessages)
	: KeyedUpdater(Kvz_TAnagMacro::GetThisClass(), pDocument, pMessages)
{
	AddMacroKeys(m_Keys, m_Esercizio, m_NomeMacro, m_ModelloRiclassific);
}

TableReader::FindResult Kvz_TUAnagMacro::FindRecord(const DataInt& aEsercizio, const DataStr& aNomeMacro,
													 const DataStr& aModelloRiclassific, BOOL bLock)
{
	m_Esercizio = aEsercizio;
	m_NomeMacro = aNomeMacro;
	m_ModelloRiclassific = aModelloRiclassific;
	return TableUpdater::FindRecord(bLock, nullptr);
}

Kvz_TAnagMacro* Kvz_TUAnagMacro::GetRecord() const
{
	return TypedRecord<Kvz_TAnagMacro>("m_pRecord->IsKindOf((Kvz_TAnagMacro::GetThisClass()))",
									   "Kvz_TUAnagMacro::GetRecord", kSource);
}
