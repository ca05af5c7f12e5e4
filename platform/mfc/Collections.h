#pragma once
// The few collections the module's code uses. Non-owning, as their namesakes are.
#include <map>
#include <vector>

#include "platform/mfc/CException.h"
#include "platform/mfc/CObject.h"
#include "platform/mfc/CString.h"

template <class T>
class CTypedArray
{
public:
	int GetSize() const { return static_cast<int>(m_items.size()); }
	int GetCount() const { return GetSize(); }
	int GetUpperBound() const { return GetSize() - 1; }
	BOOL IsEmpty() const { return m_items.empty(); }
	int Add(const T& v) { m_items.push_back(v); return GetUpperBound(); }
	void InsertAt(int i, const T& v) { CheckIndex(i, true); m_items.insert(m_items.begin() + i, v); }
	void RemoveAt(int i, int count = 1)
	{
		CheckIndex(i);
		CheckIndex(i + count - 1);
		m_items.erase(m_items.begin() + i, m_items.begin() + i + count);
	}
	void RemoveAll() { m_items.clear(); }
	void SetSize(int n) { m_items.resize(n < 0 ? 0 : static_cast<size_t>(n)); }
	const T& GetAt(int i) const { CheckIndex(i); return m_items[static_cast<size_t>(i)]; }
	T& ElementAt(int i) { CheckIndex(i); return m_items[static_cast<size_t>(i)]; }
	void SetAt(int i, const T& v) { ElementAt(i) = v; }
	T& operator[](int i) { return ElementAt(i); }
	const T& operator[](int i) const { return GetAt(i); }
	auto begin() { return m_items.begin(); }
	auto end() { return m_items.end(); }
	auto begin() const { return m_items.begin(); }
	auto end() const { return m_items.end(); }

protected:
	void CheckIndex(int i, bool allowEnd = false) const
	{
		if (i < 0 || i > GetSize() - (allowEnd ? 0 : 1))
			throw CInvalidArgException();
	}
	std::vector<T> m_items;
};

class CObArray : public CObject, public CTypedArray<CObject*>
{
};

using CStringArray = CTypedArray<CString>;
using CDWordArray = CTypedArray<DWORD>;

class CMapStringToOb
{
public:
	void SetAt(const CString& key, CObject* value) { m_map[key] = value; }
	BOOL Lookup(const CString& key, CObject*& value) const
	{
		auto it = m_map.find(key);
		if (it == m_map.end())
			return FALSE;
		value = it->second;
		return TRUE;
	}
	BOOL RemoveKey(const CString& key) { return m_map.erase(key) > 0; }
	void RemoveAll() { m_map.clear(); }
	int GetCount() const { return static_cast<int>(m_map.size()); }
	auto begin() const { return m_map.begin(); }
	auto end() const { return m_map.end(); }

private:
	std::map<CString, CObject*> m_map;
};
