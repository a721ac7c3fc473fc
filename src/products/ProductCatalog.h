#pragma once

#include "data/Refusal.h"

#include <QString>
#include <optional>

class Database;

// A product of the catalogue (table Pro2) as the catalogue window's fields
// show it: list names, texts and prices as typed.
struct ProductFields {
    QString sortName;   // 产品分类 (ComboBox3)
    QString brandName;  // 产品品牌 (ComboBox4)
    QString danweiName; // 产品单位 (ComboBox5)
    QString card;       // 编码 (Edit2)
    QString name;       // 产品名 (Edit3)
    QString pinYing;    // 拼音首字母 (Edit4)
    QString jinJia;     // 进货价 (Edit5), may be empty
    QString shouJia;    // 零售价 (Edit6)
    QString pifaJia;    // 批发价 (Edit7), may be empty
    QString chandi;     // 产地 (Edit8)
    QString other;      // 备注 (Edit9)
    bool tejia = false; // 是否特价 (CheckBox2)
    bool show = true;   // 是否销售 (CheckBox3)

    // Every text trimmed with ' turned into ’, the form in which it is stored.
    ProductFields cleaned() const;
};

// Adding, changing and reading the products of the catalogue.
class ProductCatalog
{
public:
    explicit ProductCatalog(Database &db) : m_db(db) {}

    // The first field that cannot be stored, with the control to focus.
    static Check validate(const ProductFields &cleanedFields);

    // Adds a product (fields as typed). A refusal when a field is invalid or
    // the code is taken; nothing is written then. Throws DbError.
    Check add(const ProductFields &typed, qint64 *newId = nullptr);
    // Stores the fields into the product `id`, and only into it. Throws DbError.
    Check modify(qint64 id, const ProductFields &typed);
    // The product as the window's fields show it; nothing when there is no such product.
    std::optional<ProductFields> load(qint64 id);

private:
    void bindColumns(const ProductFields &f, QVariantList &binds);

    Database &m_db;
};
