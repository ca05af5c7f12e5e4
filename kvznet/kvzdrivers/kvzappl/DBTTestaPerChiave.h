#pragma once
// A head read by its primary key and the grid rows below it, which repeat that key under the
// same column names. The head's key is read-only in edit mode and names the query's parameters;
// the browser walks the heads in key order (DBTMaster's). The rows are read by the head's key,
// sorted by it and then by AddOrder, and each row saved takes the head's key.
#include "platform/plvges/DBTObject.h"

class CAbstractFormDoc;

// Whether the table already holds a row with the record's primary key: a new master under an
// existing key is refused with the document's reason before the database's key refuses it.
bool EsisteChiave(CAbstractFormDoc* pDoc, const SqlRecord& rec);

class DBTTestaPerChiave : public DBTMaster
{
	DECLARE_DYNAMIC(DBTTestaPerChiave, DBTMaster)
public:
	using DBTMaster::DBTMaster;

protected:
	void OnDisableControlsForEdit() override;
	void OnDefineQuery() override;
	void OnPrepareQuery() override;
};

class DBTRigheDellaTesta : public DBTSlaveBuffered
{
	DECLARE_DYNAMIC(DBTRigheDellaTesta, DBTSlaveBuffered)
public:
	using DBTSlaveBuffered::DBTSlaveBuffered;

protected:
	SqlRecord* GetRecordTesta() const;
	// The head's key into the row.
	void CopiaChiaveTesta(SqlRecord* pRec) const;
	void OnDefineQuery() override;
	void OnPrepareQuery() override;
	void OnPreparePrimaryKey(int nRow, SqlRecord* pRec) override;
	// The order of the rows after the head's key.
	virtual void AddOrder(SqlRecord* /*pRec*/) {}
};
