#include "platform/plvnamesolver/CPLVNamespace.h"

#include <array>
#include <utility>

namespace {
constexpr std::array<std::pair<CPLVNamespace::NsType, const char*>, 12> kTypeWords{{
	{CPLVNamespace::LIBRARY, "Library"},
	{CPLVNamespace::MODULE, "Module"},
	{CPLVNamespace::DOCUMENT, "Document"},
	{CPLVNamespace::REPORT, "Report"},
	{CPLVNamespace::IMAGE, "Image"},
	{CPLVNamespace::HOTLINK, "HotKeyLink"},
	{CPLVNamespace::TABLE, "Table"},
	{CPLVNamespace::VIEW, "View"},
	{CPLVNamespace::FUNCTION, "Function"},
	{CPLVNamespace::APPLICATION, "Application"},
	{CPLVNamespace::FILE, "File"},
	{CPLVNamespace::TEXT, "Text"},
}};

CPLVNamespace::NsType TypeFromWord(const CString& word)
{
	for (auto& [type, text] : kTypeWords)
		if (word.CompareNoCase(text) == 0)
			return type;
	return CPLVNamespace::NOT_VALID;
}

// Segment index of a kind: 0 application, 1 module, 2 library, 3 the object.
size_t SegmentOf(int kind)
{
	switch (kind)
	{
	case CPLVNamespace::APPLICATION: return 0;
	case CPLVNamespace::MODULE: return 1;
	case CPLVNamespace::LIBRARY: return 2;
	default: return 3;
	}
}
}  // namespace

CPLVNamespace::CPLVNamespace(NsType type, const CString& path)
{
	SetNamespace(path);
	m_Type = type;
}

void CPLVNamespace::SetNamespace(const CString& text)
{
	m_Segments.clear();
	m_Type = NOT_VALID;
	CString rest = text;
	rest.Trim();
	for (int start = 0; start <= rest.GetLength();)
	{
		int dot = rest.Find('.', start);
		if (dot < 0)
			dot = rest.GetLength();
		CString seg = rest.Mid(start, dot - start);
		if (!seg.IsEmpty())
			m_Segments.push_back(seg);
		start = dot + 1;
	}
	if (m_Segments.empty())
		return;
	NsType typed = TypeFromWord(m_Segments.front());
	if (typed != NOT_VALID && m_Segments.size() > 1)
	{
		m_Type = typed;
		m_Segments.erase(m_Segments.begin());
		return;
	}
	switch (m_Segments.size())
	{
	case 1: m_Type = APPLICATION; break;
	case 2: m_Type = MODULE; break;
	case 3: m_Type = LIBRARY; break;
	default: m_Type = DOCUMENT; break;
	}
}

CString CPLVNamespace::GetObjectName(int kind) const
{
	size_t idx = SegmentOf(kind);
	if (idx == 3)
		return m_Segments.size() > 3 ? m_Segments.back() : CString();
	return idx < m_Segments.size() ? m_Segments[idx] : CString();
}

void CPLVNamespace::SetObjectName(int kind, const CString& name, BOOL, BOOL)
{
	size_t idx = SegmentOf(kind);
	if (m_Segments.size() <= idx)
		m_Segments.resize(idx + 1);
	if (idx == 3)
	{
		m_Segments.resize(4);
		m_Type = static_cast<NsType>(kind);
	}
	m_Segments[idx] = name;
}

CString CPLVNamespace::GetPathName() const
{
	CString out;
	for (size_t i = 0; i < m_Segments.size(); ++i)
	{
		if (i)
			out += '.';
		out += m_Segments[i];
	}
	return out;
}

const char* CPLVNamespace::TypeWord(NsType type)
{
	for (auto& [t, text] : kTypeWords)
		if (t == type)
			return text;
	return "";
}

CString CPLVNamespace::ToString() const
{
	if (m_Type == NOT_VALID)
		return GetPathName();
	return CString(TypeWord(m_Type)) + "." + GetPathName();
}

bool operator==(const CPLVNamespace& a, const CPLVNamespace& b)
{
	return a.GetPathName().CompareNoCase(b.GetPathName()) == 0 &&
		   (a.m_Type == b.m_Type || a.m_Type == CPLVNamespace::NOT_VALID || b.m_Type == CPLVNamespace::NOT_VALID);
}

BOOL AutoCompleteNamespace(CPLVNamespace::NsType type, const CString& name, const CPLVNamespace& from,
						   CPLVNamespace& result)
{
	if (name.Find('.') >= 0)
	{
		result = CPLVNamespace(type, name);
		return result.IsValid();
	}
	result = from;
	result.SetObjectName(type, name);
	result.SetType(type);
	return result.IsValid() && !from.GetObjectName(CPLVNamespace::LIBRARY).IsEmpty();
}
