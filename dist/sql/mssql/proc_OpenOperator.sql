CREATE PROCEDURE [dbo].[proc_OpenOperator] AS
BEGIN
  SET NOCOUNT ON;
  SELECT * FROM [dbo].[Operators] ORDER BY [q80];
END
