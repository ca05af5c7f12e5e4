#include "kvznet/kvzmod/kvzbatch/EsplosioneSimboliConti.h"

BOOL BDEsplosioneSimboliConti::OnAttachData()
{
	SetFormTitle(_T("Esplosione simboli in conti"));
	return TRUE;
}
