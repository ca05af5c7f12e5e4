#pragma once
// Documents of the framework: an abstract document and the form document (a master record
// with its record buffers, edited in form modes and saved in transactions).
#include "platform/plvgenlib/CBaseDocument.h"

class CAbstractDoc : public CBaseDocument
{
	DECLARE_DYNAMIC(CAbstractDoc, CBaseDocument)
};

class CAbstractFormDoc : public CAbstractDoc
{
	DECLARE_DYNAMIC(CAbstractFormDoc, CAbstractDoc)
};
