#pragma once
// The root of every document: its data-access context, sessions and message list.
#include <memory>

#include "platform/plvgenlib/CMessages.h"
#include "platform/plvoledb/SqlConnection.h"

class CBaseDocument : public CObject
{
	DECLARE_DYNAMIC(CBaseDocument, CObject)
public:
	CBaseDocument();
	~CBaseDocument() override;

	// The connection the document works on: the default one unless set.
	virtual SqlConnection* GetSqlConnection() const;
	void SetSqlConnection(SqlConnection* pConnection);
	// The document's transaction context and its sessions.
	CPLVContext* GetContext();
	SqlSession* GetReadOnlySqlSession() { return GetContext() ? GetContext()->GetReadOnlySqlSession() : nullptr; }
	SqlSession* GetUpdatableSqlSession() { return GetContext() ? GetContext()->GetUpdatableSqlSession() : nullptr; }

	CMessages* GetMessages() { return &m_Messages; }
	CMessages m_Messages;

private:
	SqlConnection* m_pConnection = nullptr;
	std::unique_ptr<CPLVContext> m_pContext;
};
