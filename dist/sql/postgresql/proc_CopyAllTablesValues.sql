CREATE FUNCTION proc_CopyAllTablesValues("tableNameToCopyValues" text, "tableNameToPasteValues" text) RETURNS void LANGUAGE plpgsql AS $$
BEGIN
  -- Both names are identifiers: quoted as such, in the lower case the tables are kept in.
  EXECUTE format('INSERT INTO %I SELECT * FROM %I', lower("tableNameToPasteValues"), lower("tableNameToCopyValues"));
  EXECUTE format('DELETE FROM %I', lower("tableNameToCopyValues"));
END
$$
