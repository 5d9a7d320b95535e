CREATE PROCEDURE proc_CopyAllTablesValues @tableNameToCopyValues SYSNAME, @tableNameToPasteValues SYSNAME AS
-- Every column but the stay's key, which the table gives each new row itself.
INSERT INTO @tableNameToPasteValues (q1, q28, q29, q27, q30, q31, q32, q39, q33, q34, q35, q36, q37, q38, q42, q70, q71, q72, q78, q51, q109, q47, q57, q110, q111, q112, q113, q115, q124, q125, q126, q127, q128) SELECT q1, q28, q29, q27, q30, q31, q32, q39, q33, q34, q35, q36, q37, q38, q42, q70, q71, q72, q78, q51, q109, q47, q57, q110, q111, q112, q113, q115, q124, q125, q126, q127, q128 FROM @tableNameToCopyValues;
DELETE FROM @tableNameToCopyValues
