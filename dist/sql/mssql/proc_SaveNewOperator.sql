CREATE PROCEDURE [dbo].[proc_SaveNewOperator] @OperatorAddres_q23 nvarchar(500), @OperatorUserName_q75 nvarchar(500), @OperatorPassword_q76 nvarchar(500), @operatorName_q21 nvarchar(500), @OperatorGSM_q24 nvarchar(500), @OperatorCity_q74 nvarchar(500), @IDHotel_q1 INT, @OperatorImage_q25 varbinary(8000), @MultiSecutity_q26 bit, @OperatorDefaultDostap_q77 nvarchar(500) AS
BEGIN
  SET NOCOUNT ON;
  INSERT INTO [dbo].[Operators] ([q23], [q75], [q76], [q21], [q24], [q74], [q1], [q25], [q26], [q77])
  VALUES (@OperatorAddres_q23, @OperatorUserName_q75, @OperatorPassword_q76, @operatorName_q21, @OperatorGSM_q24, @OperatorCity_q74, @IDHotel_q1, @OperatorImage_q25, @MultiSecutity_q26, @OperatorDefaultDostap_q77);
END
