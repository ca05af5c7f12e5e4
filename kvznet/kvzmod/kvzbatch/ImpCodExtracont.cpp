#include "kvznet/kvzmod/kvzbatch/ImpCodExtracont.h"

BOOL Kvz_CImpCodExtracontDoc::OnAttachData()
{
	SetFormTitle(_T("Importazione codici extracontabili"));
	return TRUE;
}
