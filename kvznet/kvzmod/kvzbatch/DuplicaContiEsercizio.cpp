#include "kvznet/kvzmod/kvzbatch/DuplicaContiEsercizio.h"

BOOL Kvz_CDuplicaContiEsercizioDoc::OnAttachData()
{
	SetFormTitle(_T("Duplicazione conti raggruppati"));
	return TRUE;
}
