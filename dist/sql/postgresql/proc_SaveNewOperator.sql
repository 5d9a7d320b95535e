CREATE FUNCTION proc_SaveNewOperator("OperatorAddres_q23" text, "OperatorUserName_q75" text, "OperatorPassword_q76" text, "operatorName_q21" text, "OperatorGSM_q24" text, "OperatorCity_q74" text, "IDHotel_q1" integer, "OperatorImage_q25" bytea, "MultiSecutity_q26" smallint, "OperatorDefaultDostap_q77" text) RETURNS void LANGUAGE sql AS $$
INSERT INTO operators (q23, q75, q76, q21, q24, q74, q1, q25, q26, q77)
VALUES ("OperatorAddres_q23", "OperatorUserName_q75", "OperatorPassword_q76", "operatorName_q21", "OperatorGSM_q24", "OperatorCity_q74", "IDHotel_q1", "OperatorImage_q25", "MultiSecutity_q26", "OperatorDefaultDostap_q77")
$$
