#include "kvznet/kvzmod/kvzbatch/InsSaldiMensili.h"

BOOL Kvz_CInsSaldiMensiliDoc::OnAttachData()
{
	SetFormTitle(_T("Inserimento saldi mensili"));
	return TRUE;
}
