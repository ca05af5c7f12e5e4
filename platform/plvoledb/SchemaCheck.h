#pragma once

class SqlConnection;

// While one lives, registering the catalog on the connection reads the schema (and the
// libraries' releases) once, in a constant number of statements, instead of asking the database
// table by table; what the registration changes is kept in what was read. Nestable.
class SqlSchemaCheck
{
public:
	explicit SqlSchemaCheck(SqlConnection* pConnection);
	~SqlSchemaCheck();
	SqlSchemaCheck(const SqlSchemaCheck&) = delete;
	SqlSchemaCheck& operator=(const SqlSchemaCheck&) = delete;

private:
	SqlConnection* m_pConnection;
};
