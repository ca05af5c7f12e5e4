#pragma once
// Owning object array: it deletes its elements. An index out of range raises
// CInvalidArgException.
#include "platform/mfc/Collections.h"
#include "platform/plvgeneric/DataObj.h"

class Array : public CObject
{
	DECLARE_DYNAMIC(Array, CObject)
public:
	Array() = default;
	~Array() override { RemoveAll(); }
	Array(const Array&) = delete;
	Array& operator=(const Array&) = delete;

	int GetSize() const { return m_items.GetSize(); }
	int GetCount() const { return GetSize(); }
	int GetUpperBound() const { return GetSize() - 1; }
	BOOL IsEmpty() const { return GetSize() == 0; }

	int Add(CObject* p) { return m_items.Add(p); }
	void InsertAt(int i, CObject* p) { m_items.InsertAt(i, p); }
	CObject* GetAt(int i) const { return m_items.GetAt(i); }
	CObject* operator[](int i) const { return GetAt(i); }
	// Replaces (and deletes) the element at i.
	void SetAt(int i, CObject* p);
	void RemoveAt(int i, int count = 1);
	void RemoveAll();
	// Hands the element over to the caller without deleting it.
	CObject* DetachAt(int i);

	void SetOwns(BOOL bOwns) { m_bOwns = bOwns != FALSE; }
	BOOL IsOwnsElements() const { return m_bOwns; }

	// Ordering and equality of elements, for sorting and searching.
	virtual BOOL LessThen(CObject* a, CObject* b) const { return Compare(a, b) < 0; }
	virtual int Compare(CObject* a, CObject* b) const { return a < b ? -1 : b < a ? 1 : 0; }
	virtual BOOL IsElementEqual(CObject* a, CObject* b) const { return Compare(a, b) == 0; }
	virtual int Find(CObject* p, int start = 0) const;
	void Sort();

	auto begin() const { return m_items.begin(); }
	auto end() const { return m_items.end(); }

private:
	CTypedArray<CObject*> m_items;
	bool m_bOwns = true;
};

// A typed view of an owning array.
template <class T>
class TArray : public Array
{
public:
	T* GetAt(int i) const { return static_cast<T*>(Array::GetAt(i)); }
	T* operator[](int i) const { return GetAt(i); }
};

// An owning array of data objects (a lookup's customisation values, for one).
class DataObjArray : public Array
{
	DECLARE_DYNAMIC(DataObjArray, Array)
public:
	DataObj* GetAt(int i) const { return static_cast<DataObj*>(Array::GetAt(i)); }
	DataObj* operator[](int i) const { return GetAt(i); }
};
