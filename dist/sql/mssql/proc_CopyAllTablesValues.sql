CREATE PROCEDURE [dbo].[proc_CopyAllTablesValues] @tableNameToCopyValues nvarchar(128), @tableNameToPasteValues nvarchar(128) AS
BEGIN
  SET NOCOUNT ON;
  DECLARE @sql nvarchar(max);
  SET @sql = N'INSERT INTO ' + QUOTENAME(@tableNameToPasteValues) + N' SELECT * FROM ' + QUOTENAME(@tableNameToCopyValues) + N'; DELETE FROM ' + QUOTENAME(@tableNameToCopyValues) + N';';
  EXEC sp_executesql @sql;
END
