#pragma once
// Namespaces name everything the framework registers: "Library.KvzNet.KvzMod.KvzBatch",
// "KvzNet.KvzMod.KvzDocuments.DBudget", "Module.KvzNet.KvzMod". The path is
// application.module.library[.object]; the type says what the object is.
#include <vector>

#include "platform/mfc/CObject.h"
#include "platform/mfc/CString.h"

class CPLVNamespace : public CObject
{
	DECLARE_DYNAMIC(CPLVNamespace, CObject)
public:
	enum NsType
	{
		NOT_VALID = 0,
		LIBRARY = 1,
		MODULE = 2,
		DOCUMENT = 3,
		REPORT = 4,
		IMAGE = 5,
		HOTLINK = 6,
		TABLE = 7,
		VIEW = 8,
		FUNCTION = 9,
		APPLICATION = 10,
		FILE = 11,
		TEXT = 12,
	};

	CPLVNamespace() = default;
	CPLVNamespace(const char* text) { SetNamespace(text); }
	CPLVNamespace(const CString& text) { SetNamespace(text); }
	CPLVNamespace(NsType type, const CString& path);

	// Parses "Type.App.Module.Library.Object" or an untyped path; the type of an untyped path
	// follows its length (2 module, 3 library, 4 document).
	void SetNamespace(const CString& text);
	BOOL IsValid() const { return m_Type != NOT_VALID && !m_Segments.empty(); }
	NsType GetType() const { return m_Type; }
	void SetType(NsType type) { m_Type = type; }

	// The segment that names an object of the given kind: application, module, library, or the
	// leaf for any object kind. Empty when the namespace does not reach that far.
	CString GetObjectName(int kind) const;
	// Sets the segment of the given kind; for object kinds the leaf, and the namespace becomes
	// of that kind. The flags are kept for callers' sake: the path is completed either way.
	void SetObjectName(int kind, const CString& name, BOOL bComplete = TRUE, BOOL bReserved = FALSE);

	// "KvzNet.KvzMod.KvzDocuments.DBudget": the path without the type word.
	CString GetPathName() const;
	// The full text, type word first.
	CString ToString() const;
	operator CString() const { return ToString(); }

	static const char* TypeWord(NsType type);

	// Namespaces are equal when their paths are equal (case-insensitive) and their types agree.
	friend bool operator==(const CPLVNamespace& a, const CPLVNamespace& b);

private:
	NsType m_Type = NOT_VALID;
	std::vector<CString> m_Segments;
};

// Builds a namespace of the given type by completing a name against another namespace:
// a bare name takes application, module and library from the other one.
BOOL AutoCompleteNamespace(CPLVNamespace::NsType type, const CString& name, const CPLVNamespace& from,
						   CPLVNamespace& result);
