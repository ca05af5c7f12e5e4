#pragma once
// The structure of the host's account codes as the grouping reads it: a ledger code of
// length L0 followed by segments of lengths L1..L7 (0: not used). Level n (1 the ledger .. 8)
// is a code of length C(n) = L0 + L1 + ... + L(n-1).
#include "kvznet/kvzmod/kvzdbl/Kvz_TRaggruppPdC.h"

class TChartOfAccountParameters;

struct StrutturaPdC
{
	enum
	{
		LIVELLI = 8
	};

	int L0 = 0;
	int L[LIVELLI] = {};  // L[1] .. L[7]; L[0] unused

	static StrutturaPdC Da(const TChartOfAccountParameters& parametri);
	// The host's parameters as they are now.
	static StrutturaPdC Corrente();

	// C(n), n from 1 to 8.
	int LunghezzaLivello(int n) const;
	// The first level whose length is the code's; 0 when none is.
	int LivelloDi(int nLunghezza) const;
	// U: the longest code of an upper-level account (a ledger or an account close to it).
	int LimiteSuperiore() const;
	BOOL IsContoSuperiore(int nLunghezza) const { return nLunghezza <= LimiteSuperiore(); }
	// The length of the code above a code of that length, whose grouping row a new account copies.
	int LunghezzaPrefisso(int nLunghezza) const;
	// A ledger's own grouping level: the deepest level the structure has.
	int LivelloMastro() const;
	// Whether a code is at the grouping level the row chooses.
	BOOL IsAlLivelloDiRaggruppamento(int nLunghezza, const Kvz_TRaggruppPdC& riga) const;
};

// The level flag of level n (1 PrimoLivello .. 8 OttavoLivello).
DataBool& FlagLivello(Kvz_TRaggruppPdC& riga, int n);
const DataBool& FlagLivello(const Kvz_TRaggruppPdC& riga, int n);
// The grouping level a row chooses: the first of levels 2 to 7 set, else 8 when set, else 1.
int LivelloDiRaggruppamento(const Kvz_TRaggruppPdC& riga);
// The deepest level whose flag is set; 0 when none is.
int ProfonditaRaggruppamento(const Kvz_TRaggruppPdC& riga);
