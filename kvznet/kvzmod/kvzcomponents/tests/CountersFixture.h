#pragma once
// A company database with the counter tables, managers opened up for inspection, and direct
// reads of the counter rows.
#include <optional>
#include <string>

#include "kvznet/kvzmod/kvzcomponents/GestIds.h"
#include "kvznet/kvzmod/kvzdbl/tests/KvzDblFixture.h"
#include "platform/plvges/CAbstractFormDoc.h"
#include "platform/plvoledb/driver/Driver.h"

class FormDoc : public CAbstractFormDoc
{
};

inline DataEnum Specie(WORD item)
{
	return DataEnum(E_KVZ_SPECIEARCHIVIO, item);
}

inline DataEnum TipoDoc(WORD item)
{
	return DataEnum(E_KVZ_TIPODOCUMENTO, item);
}

template <class Manager>
class Probe : public Manager
{
public:
	using Manager::Manager;
	using Manager::GetNextCounter;
	using Manager::SetPrevCounter;
	int Locks() const { return this->m_nLockCount; }
	bool IsTableOpen() const { return this->GetTable() && this->GetTable()->IsOpen(); }
};
using IdProbe = Probe<Kvz_IDManager>;
using NumProbe = Probe<Kvz_NumNonFiscManager>;

// The first column of the first row, read straight from the database.
inline std::optional<plv::db::Value> Scalar(SqlConnection& c, const std::string& sql)
{
	auto st = c.Db().Prepare(sql);
	if (!st->Step())
		return std::nullopt;
	return st->Column(0);
}

inline std::optional<long> UltimoID(SqlConnection& c, WORD item)
{
	auto v = Scalar(c, "SELECT UltimoID FROM Kvz_IDDocumenti WHERE SpecieArchivio = " +
						   std::to_string(Specie(item).GetValue()));
	return v ? std::optional<long>(long(std::get<int64_t>(*v))) : std::nullopt;
}

struct NumRow
{
	long last;
	std::string date;
};

inline std::optional<NumRow> UltNrDoc(SqlConnection& c, int year, WORD item)
{
	auto st = c.Db().Prepare("SELECT UltNrDoc, DataUltDoc FROM Kvz_NumDocumenti WHERE Anno = " + std::to_string(year) +
							 " AND TipoDoc = " + std::to_string(TipoDoc(item).GetValue()));
	if (!st->Step())
		return std::nullopt;
	return NumRow{long(std::get<int64_t>(st->Column(0))), std::get<std::string>(st->Column(1))};
}

// The last number of a row, -1 when there is no row.
inline long Last(const std::optional<NumRow>& row)
{
	return row ? row->last : -1;
}
