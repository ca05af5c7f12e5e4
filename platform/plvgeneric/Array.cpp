#include "platform/plvgeneric/Array.h"

#include <algorithm>

void Array::SetAt(int i, CObject* p)
{
	CObject* old = m_items.GetAt(i);
	m_items.SetAt(i, p);
	if (m_bOwns && old != p)
		delete old;
}

void Array::RemoveAt(int i, int count)
{
	if (count <= 0)
		return;
	if (i < 0 || i + count > GetSize())
		throw CInvalidArgException();
	if (m_bOwns)
		for (int k = i; k < i + count; ++k)
			delete m_items.GetAt(k);
	m_items.RemoveAt(i, count);
}

void Array::RemoveAll()
{
	if (m_bOwns)
		for (CObject* p : m_items)
			delete p;
	m_items.RemoveAll();
}

CObject* Array::DetachAt(int i)
{
	CObject* p = m_items.GetAt(i);
	m_items.RemoveAt(i);
	return p;
}

int Array::Find(CObject* p, int start) const
{
	for (int i = std::max(start, 0); i < GetSize(); ++i)
		if (IsElementEqual(m_items.GetAt(i), p))
			return i;
	return -1;
}

void Array::Sort()
{
	std::stable_sort(m_items.begin(), m_items.end(), [this](CObject* a, CObject* b) { return LessThen(a, b) != FALSE; });
}
