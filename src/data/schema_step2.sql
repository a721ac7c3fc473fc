-- Step 2: indexes for the member list's orders and the returned lines, and the search index
-- behind the "contains" searches of member names and cards.
CREATE INDEX IF NOT EXISTS idx_detail_user_return ON S_SaleDetail(UserID, FReturnFlag);
CREATE INDEX IF NOT EXISTS idx_user_moneyall ON User_Info(User_MoneyAll);
-- The few returned lines among all sold ones (the return window's export): the
-- planner's statistics see how few they are only in an index of them alone.
CREATE INDEX IF NOT EXISTS idx_detail_returned ON S_SaleDetail(SaleDetailID)
    WHERE FReturnFlag = 1;

-- Character positions 1..1024: the texts are cut into pieces by joining them.
CREATE TABLE Search_Pos (n INTEGER PRIMARY KEY);
INSERT INTO Search_Pos (n)
WITH RECURSIVE k(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM k WHERE i < 1024)
SELECT i FROM k;

-- What the search index holds for a member: every piece of one, two and three
-- characters of the name (prefix n) and of the card (prefix c), with ASCII
-- letters in lower case as LIKE compares them, each written as the hex of its
-- UTF-8 bytes so that any character, a blank or a quote included, is one
-- plain token.
CREATE VIEW User_SearchText AS
SELECT User_ID, (SELECT group_concat(t, ' ') FROM (
    SELECT 'n' || hex(substr(lower(u.User_Name), n, 1)) AS t FROM Search_Pos
        WHERE n <= length(u.User_Name)
    UNION ALL SELECT 'n' || hex(substr(lower(u.User_Name), n, 2)) FROM Search_Pos
        WHERE n < length(u.User_Name)
    UNION ALL SELECT 'n' || hex(substr(lower(u.User_Name), n, 3)) FROM Search_Pos
        WHERE n < length(u.User_Name) - 1
    UNION ALL SELECT 'c' || hex(substr(lower(u.User_Card), n, 1)) FROM Search_Pos
        WHERE n <= length(u.User_Card)
    UNION ALL SELECT 'c' || hex(substr(lower(u.User_Card), n, 2)) FROM Search_Pos
        WHERE n < length(u.User_Card)
    UNION ALL SELECT 'c' || hex(substr(lower(u.User_Card), n, 3)) FROM Search_Pos
        WHERE n < length(u.User_Card) - 1)) AS g
FROM User_Info u;

-- The index keeps no copy of the texts; the triggers below keep it in step
-- with User_Info, whoever writes it.
CREATE VIRTUAL TABLE User_Search USING fts5(g, tokenize = 'ascii', content = '',
    detail = none, columnsize = 0);
INSERT INTO User_Search (rowid, g) SELECT User_ID, g FROM User_SearchText;

CREATE TRIGGER User_Search_Insert AFTER INSERT ON User_Info
BEGIN
    INSERT INTO User_Search (rowid, g) SELECT User_ID, g FROM User_SearchText
        WHERE User_ID = NEW.User_ID;
END;

CREATE TRIGGER User_Search_Delete BEFORE DELETE ON User_Info
BEGIN
    INSERT INTO User_Search (User_Search, rowid, g) SELECT 'delete', User_ID, g
        FROM User_SearchText WHERE User_ID = OLD.User_ID;
END;

CREATE TRIGGER User_Search_Forget BEFORE UPDATE OF User_ID, User_Name, User_Card ON User_Info
BEGIN
    INSERT INTO User_Search (User_Search, rowid, g) SELECT 'delete', User_ID, g
        FROM User_SearchText WHERE User_ID = OLD.User_ID;
END;

CREATE TRIGGER User_Search_Learn AFTER UPDATE OF User_ID, User_Name, User_Card ON User_Info
BEGIN
    INSERT INTO User_Search (rowid, g) SELECT User_ID, g FROM User_SearchText
        WHERE User_ID = NEW.User_ID;
END;
