-- Global options at their documented defaults.
INSERT INTO configtable (cname, cvalue) VALUES ('进入系统需验证', 'no');
INSERT INTO configtable (cname, cvalue) VALUES ('客户随使用频度自动排序', 'no');
INSERT INTO configtable (cname, cvalue) VALUES ('打印前弹出打印机设置', 'no');
INSERT INTO configtable (cname, cvalue) VALUES ('客户资料保存前补充完整', 'no');
INSERT INTO configtable (cname, cvalue) VALUES ('启用默认出票人', 'no');
INSERT INTO configtable (cname, cvalue) VALUES ('单位下拉框区分收、发件人', '');
INSERT INTO configtable (cname, cvalue) VALUES ('DefaultPrinter', '');
INSERT INTO configtable (cname, cvalue) VALUES ('version', '');
INSERT INTO configtable (cname, cvalue) VALUES ('MS EXCEL FIRST', '0');
INSERT INTO configtable (cname, cvalue) VALUES ('ckOrderIDOn', '0');
INSERT INTO configtable (cname, cvalue) VALUES ('ckMemeberIDOn', '0');
INSERT INTO configtable (cname, cvalue) VALUES ('ckRemark', 'no');
INSERT INTO configtable (cname, cvalue) VALUES ('ckWPNR', 'no');
INSERT INTO configtable (cname, cvalue) VALUES ('checkContainSS', 'no');
