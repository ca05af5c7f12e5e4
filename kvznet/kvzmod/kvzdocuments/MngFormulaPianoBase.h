#pragma once
// The engine's prepared base-plan queries (shared by the engine's files).
#include <memory>

#include "kvznet/kvzmod/kvzdocuments/MngFormula.h"
#include "platform/plvoledb/SqlTable.h"

// One prepared query: the row record it is defined on and the values it reads.
struct Kvz_New_MngFormula::CursorePianoBase
{
	std::unique_ptr<SqlRecord> pRec;
	std::unique_ptr<SqlTable> pTable;
	DataInt mese;
	DataDbl valori[3];
	DataLng mastro;
	bool bMastro = false;
};
