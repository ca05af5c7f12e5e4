#pragma once

#include "platform/plvoledb/SqlConnection.h"
#include "platform/plvoledb/SqlException.h"

// The commit of a batch's transaction; when it fails, its error shown and the transaction rolled
// back, so that the caller reports nothing as done.
inline bool Kvz_ConfermaTransazione(CPLVContext* pContext)
{
	try
	{
		if (pContext->Commit())
			return true;
	}
	catch (const SqlException& e)
	{
		e.ShowError();
	}
	pContext->Rollback();
	return false;
}
