CREATE PROCEDURE proc_CopyAllTablesValues @tableNameToCopyValues SYSNAME, @tableNameToPasteValues SYSNAME AS
INSERT INTO @tableNameToPasteValues SELECT * FROM @tableNameToCopyValues;
DELETE FROM @tableNameToCopyValues
