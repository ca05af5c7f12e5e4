#pragma once
// The parent of a grouped-account code: the code cut back to the end of its previous segment,
// by the segment lengths of the module parameters; a segment of length 0 adds no level. Empty for
// a ledger code, and for every code when the parameters give no ledger length.
#include "kvznet/kvzmod/kvzdbl/Kvz_TParametri.h"

DataStr Kvz_CalcolaContoPadre(const DataStr& aConto, const Kvz_TParametri& aParametri);
