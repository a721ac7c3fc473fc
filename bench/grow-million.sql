-- Grows a copy of the large database to 1,000,000 members in one INSERT ... SELECT.
-- Run by bench.sh with the sqlite3 shell on bench-data/million.db.
--
-- Every value comes from the row number and three seeded generators, so the
-- file is the same on every machine. Names are Chinese, 2 to 4 characters: a
-- surname from 100 common ones (the first ones far more often, 王 about one
-- name in ten) or now and then a two-character one, and one or two given-name
-- characters from 314 (again skewed), so a one- or two-character search finds
-- many members or few. Cards have 8, 9 or 10 digits and never repeat (nor
-- meet the large file's 8xxxxxxx cards); most members have a mobile number,
-- some a phone; balances, points, spending and dates vary.
PRAGMA journal_mode = WAL;
BEGIN IMMEDIATE;
INSERT INTO User_Info (User_Card, User_Name, User_Sex, User_Brithday, User_Tel, User_Mobi,
                       User_Address, User_Work, User_Wenhua, User_Date, User_Stop, User_Xiaofei,
                       User_Num, User_MoneyAll, User_ChuZhi, User_InputDate)
WITH RECURSIVE
  want(k) AS (SELECT 1000000 - COUNT(*) FROM User_Info),
  -- Three Lehmer (MINSTD) generators carried along the rows; each value
  -- gives two 15-bit fractions.
  n(i, a, b, c) AS (SELECT 1, 1234567, 7654321, 2468013 FROM want WHERE k > 0
                    UNION ALL
                    SELECT i + 1, (a * 48271) % 2147483647, (b * 69621) % 2147483647,
                           (c * 16807) % 2147483647
                    FROM n, want WHERE i < k),
  h AS (SELECT i,
               (a % 32768) / 32768.0 AS r1, ((a / 32768) % 32768) / 32768.0 AS r2,
               (b % 32768) / 32768.0 AS r3, ((b / 32768) % 32768) / 32768.0 AS r4,
               (c % 32768) / 32768.0 AS r5, ((c / 32768) % 32768) / 32768.0 AS r6,
               a, b, c
        FROM n),
  c(surnames, given) AS (SELECT
    '王李张刘陈杨黄赵吴周徐孙马朱胡郭何高林罗郑梁谢宋唐许韩冯邓曹彭曾肖田董袁潘于蒋蔡余杜叶程苏魏吕丁任沈姚卢姜崔钟谭陆汪范金石廖贾夏韦付方白邹孟熊秦邱江尹薛闫段雷侯龙史陶黎贺顾毛郝龚邵万钱严覃武戴莫孔向汤',
    '伟芳娜秀英敏静丽强磊军洋勇艳杰娟涛明超兰霞平刚桂华玉萍红建国文辉力永健世广志义兴良海山仁波宁贵福生龙元全胜学祥才发成康星光天达安岩中茂进林有坚和彪博诚先敬震振壮群豪心邦承乐绍功松善厚庆民友裕河哲江浩亮政谦亨奇固之轮翰朗伯宏言若鸣朋斌梁栋维启克伦翔旭鹏泽晨辰士以家致树炎德行时泰盛雄琛钧冠策腾楠榕风航弘慧巧美淑惠珠翠雅芝娥玲芬燕彩春菊凤洁梅琳素云莲真环雪荣爱妹香月莺媛瑞凡佳嘉琼勤珍贞莉娣叶璧璐娅琦晶妍茜秋珊莎锦黛青倩婷姣婉娴瑾颖露瑶怡婵雁蓓仪荷丹蓉眉君琴蕊薇菁梦岚苑婕馨瑗琰韵融园艺咏卿聪澜纯毓悦昭冰爽琬茗羽希欣飘育滢馥筠柔竹霭凝晓欢霄枫芸菲寒伊亚宜可舒影荔思鑫淼森垚犇焱璇琪瑜璟瑛珏珂翊熙睿轩铭宸皓昊煜烨钰萱涵梓紫诗语子一宇飞')
SELECT
  CASE i % 3
    WHEN 0 THEN '9' || printf('%07d', (i * 7919) % 10000000)
    WHEN 1 THEN '6' || printf('%08d', (i * 7919) % 100000000)
    ELSE '1' || printf('%09d', (i * 104729) % 1000000000) END,
  CASE WHEN r5 < 0.012 THEN substr('欧阳司马上官诸葛东方', 1 + 2 * CAST(r4 * 5 AS INT), 2)
       ELSE substr(surnames, 1 + CAST(100 * r1 * r1 AS INT), 1) END
    || substr(given, 1 + CAST(length(given) * r2 * r2 AS INT), 1)
    || CASE WHEN r3 < 0.3 THEN ''
            ELSE substr(given, 1 + CAST(length(given) * r6 * r6 AS INT), 1) END,
  CASE WHEN a % 2 = 0 THEN '男' ELSE '女' END,
  (1940 + CAST(r4 * 66 AS INT)) || '-' || (1 + i % 12) || '-' || (1 + (i * 7) % 28),
  CASE WHEN r5 > 0.85 THEN '0' || (10 + i % 90) || '-' || printf('%08d', (i * 69621) % 100000000)
       ELSE '' END,
  CASE WHEN r6 < 0.7 THEN '1' || substr('35789', 1 + i % 5, 1) || printf('%09d', (i * 48271) % 1000000000)
       ELSE '' END,
  CASE WHEN i % 4 = 0 THEN ''
       ELSE substr('中山路人民路解放路建设路和平路', 1 + 3 * (i % 5), 3) || (1 + i % 300) || '号' END,
  substr('教师医生工人职员经理学生司机厨师', 1 + 2 * (i % 8), 2),
  substr('高中大专本科硕士初中', 1 + 2 * (i % 5), 2),
  date('now', 'localtime', (CAST(r3 * 1500 AS INT) - 200) || ' days'),
  CASE WHEN i % 53 = 0 THEN 1 ELSE 0 END,
  'y',
  b % 5000,
  (c % 2000000) / 100.0,
  CASE WHEN r2 < 0.4 THEN 0 ELSE (a % 300000) / 100.0 END,
  datetime('now', 'localtime', '-' || CAST(r5 * 3650 AS INT) || ' days', '-' || (i % 86400) || ' seconds')
FROM h, c;
COMMIT;
ANALYZE;
PRAGMA wal_checkpoint(TRUNCATE);
