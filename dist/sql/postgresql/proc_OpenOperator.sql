CREATE FUNCTION proc_OpenOperator() RETURNS SETOF operators LANGUAGE sql AS $$
SELECT * FROM operators ORDER BY q80
$$
