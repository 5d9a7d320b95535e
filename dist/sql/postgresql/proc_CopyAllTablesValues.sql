CREATE FUNCTION proc_CopyAllTablesValues("tableNameToCopyValues" text, "tableNameToPasteValues" text) RETURNS void LANGUAGE plpgsql AS $$
BEGIN
  -- Both names are identifiers: quoted as such, in the lower case the tables are kept in.
  -- Every column but the stay's key, which the table gives each new row itself.
  EXECUTE format('INSERT INTO %I (q1, q28, q29, q27, q30, q31, q32, q39, q33, q34, q35, q36, q37, q38, q42, q70, q71, q72, q78, q51, q109, q47, q57, q110, q111, q112, q113, q115, q124, q125, q126, q127, q128) SELECT q1, q28, q29, q27, q30, q31, q32, q39, q33, q34, q35, q36, q37, q38, q42, q70, q71, q72, q78, q51, q109, q47, q57, q110, q111, q112, q113, q115, q124, q125, q126, q127, q128 FROM %I', lower("tableNameToPasteValues"), lower("tableNameToCopyValues"));
  EXECUTE format('DELETE FROM %I', lower("tableNameToCopyValues"));
END
$$
