#include "kvznet/kvzmod/kvzbatch/AssegnaContoPatrim.h"

BOOL Kvz_AssegnaContoPatrimDoc::OnAttachData()
{
	SetFormTitle(_T("Assegnazione conto patrimoniale"));
	return TRUE;
}
