-- Currencies of the acceptance draft: name, the sign printed before the amount, and the
-- weight the lists are ordered by (highest first). 人民币 comes first; weights are one
-- apart, so that a click or two on "上移"/"下移" passes a neighbour.
INSERT INTO coins (币种, 缩写, 顺序) VALUES
('人民币', '￥', 13),
('美元', 'US$', 12),
('欧元', '€', 11),
('港币', 'HK$', 10),
('日元', 'J¥', 9),
('英镑', '£', 8),
('澳门元', 'MOP', 7),
('新台币', 'NT$', 6),
('澳大利亚元', 'A$', 5),
('加拿大元', 'C$', 4),
('新加坡元', 'S$', 3),
('瑞士法郎', 'CHF', 2),
('韩元', '₩', 1);
