#pragma once
// A procedure's report run: its report document kept open between runs, so that the next run
// reuses it with that run's inputs; nobody is asked anything.
#include <functional>

#include "platform/plvrendoviewer/CRendoDoc.h"

class CAbstractDoc;

namespace kvzdocuments {

// Runs the report with the inputs setInputs adds; FALSE, said in the document's messages, when
// no report engine is there.
BOOL EseguiReportProcedura(CAbstractDoc* pDoc, IDisposablePtr& pReport, const CPLVNamespace& nsReport,
						   const std::function<void(CRendoInfo&)>& setInputs);

}  // namespace kvzdocuments
