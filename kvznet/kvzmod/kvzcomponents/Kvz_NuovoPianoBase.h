#pragma once
// A new base plan of a year's grouped account (of one of its cost centres or jobs, or of the
// whole account), as the ledger import and the grouped-accounts register both write it: the
// header's keys (its identifier and number come from Kvz_NumeraNuovoPianoBase) and its months.
#include "kvznet/kvzmod/kvzdbl/Kvz_TPianoBaseRighe.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TPianoBaseTesta.h"

// The year, grouped account and cost centre or job (empty: the whole account) of a header of the
// ledger's kind (budget type item 3).
void Kvz_ChiaviTestaPianoBase(Kvz_TPianoBaseTesta& aTesta, const DataInt& aEsercizio, const DataStr& aConto,
							  const DataStr& aCdcComm, const DataEnum& aTipoCdcComm);

// Fills month nMese of the base plan id: its keys and what it repeats of the header and the
// account; amounts and flags cleared.
void Kvz_PreparaRigaPianoBase(Kvz_TPianoBaseRighe& aRiga, const DataLng& id, int nMese, const DataInt& aEsercizio,
							  const DataStr& aConto, const DataStr& aCdcComm, const DataEnum& aTipoCdcComm,
							  const DataEnum& aTipoMastro);
// Moves a row so filled to month nMese of the same plan: amounts and flags cleared again.
void Kvz_PreparaMeseRigaPianoBase(Kvz_TPianoBaseRighe& aRiga, int nMese);
