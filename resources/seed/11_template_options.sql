-- Options the shipped express slip templates start with: the date prints, the amount as typed.
INSERT INTO DMTable (DMName, DMValue, CheckTypeID) VALUES ('cfgWantPrintRQ', '1', 1);
INSERT INTO DMTable (DMName, DMValue, CheckTypeID) VALUES ('cfgJEDXFormat', '打印小写金额', 1);
INSERT INTO DMTable (DMName, DMValue, CheckTypeID) VALUES ('cfgWantPrintRQ', '1', 2);
INSERT INTO DMTable (DMName, DMValue, CheckTypeID) VALUES ('cfgJEDXFormat', '打印小写金额', 2);
