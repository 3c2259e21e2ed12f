// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/mainform.h"
#include "common/formtestutil.h"
#include "controllers/ipv6tabcontroller.h"
#include "ui_octetrymainform.h"

class TstIPv6TabController : public QObject
{
    Q_OBJECT
    MainForm form;
    Ui::OctetryMainForm* ui = form.GetUi();
    QTreeView* tree = ui->ipv6AddressTypeTreeView;
    static OctetrySettings* Settings() { return OctetrySettings::Instance(); }
    static QString Stored()
    {
        return QString::fromStdString(Settings()->GetIPv6Address().ToString(IPv6Address::CompressedNotation));
    }
    // The first row of that name, depth first; Unicast comes before Multicast.
    QModelIndex RowOf(const QString& name) const
    {
        const QAbstractItemModel* model = tree->model();
        return model->match(model->index(0, 0), Qt::DisplayRole, name, 1, Qt::MatchExactly | Qt::MatchRecursive)
            .value(0);
    }
    QString SelectedType() const { return tree->selectionModel()->selectedRows().value(0).data().toString(); }
    const IPv6FieldPicture& Picture() const
    {
        return qobject_cast<IPv6TabController*>(form.FindTabController(ui->ipv6Tab))->GetPicture();
    }
    // The picture as the user reads it: per box, the texts above, inside and below it.
    QString Drawn() const
    {
        QStringList fields;
        for (const IPv6FieldPicture::Field& field : Picture().GetFields())
            fields << field.bits.html + '|' + field.value.html + '|' + field.name.html;
        return fields.join("; ");
    }

private slots:
    void firstShowingExpandsTheTreeAndShowsTheStoredAddress()
    {
        form.resize(900, 700);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const int width = tree->columnWidth(0);
        ui->tabWidget->setCurrentWidget(ui->ipv6Tab);
        QCOMPARE(ui->ipv6AddressEdit->text(), Stored());
        QVERIFY(tree->isExpanded(RowOf("Unicast")) && tree->isExpanded(RowOf("Unformatted"))
                && tree->columnWidth(0) != width);
        // Later updates keep the user's layout.
        tree->collapse(RowOf("Unformatted"));
        tree->setColumnWidth(0, 41);
        TypeOver(ui->ipv6AddressEdit, "FE80::5EFE:C0A8:101");
        QCOMPARE(SelectedType(), QString("ISATAP"));
        QVERIFY(!tree->isExpanded(RowOf("Unformatted")) && tree->columnWidth(0) == 41);
    }

    void treeShowsPatternsAndNotes()
    {
        QAbstractItemModel* model = tree->model();
        QAbstractItemModelTester tester(model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QVERIFY(!model->index(model->rowCount(), 0).isValid() && !model->index(0, model->columnCount()).isValid());
        QStringList rows;
        for (const char* name : {"Unicast", "Site-Local", "EUI-64 Formatted"})
            rows << QString("%1: %2|%3|%4")
                        .arg(name, RowOf(name).siblingAtColumn(1).data().toString(),
                             RowOf(name).siblingAtColumn(2).data().toString())
                        .arg(static_cast<int>(RowOf(name).siblingAtColumn(2).flags()
                                              & (Qt::ItemIsSelectable | Qt::ItemIsEnabled)));
        QCOMPARE(rows.join("; "),
                 QString("Unicast: |Abstract|0; Site-Local: FEC0::/10|Deprecated|33; EUI-64 Formatted: ||33"));
        QVERIFY(!RowOf("Solicited-Node").isValid() && model->rowCount(RowOf("Unicast").siblingAtColumn(1)) == 0);
        // Only the column titles have a header text: no tool tip, no row numbers.
        QVERIFY(model->headerData(0, Qt::Horizontal).isValid()
                && !model->headerData(0, Qt::Horizontal, Qt::ToolTipRole).isValid()
                && !model->headerData(0, Qt::Vertical).isValid());
    }

    // The address typed, or FE80::1 typed and then a type chosen in the tree; then Enter leaves the edit.
    void typingOrChoosingAType_data()
    {
        // chosen: the row clicked, if any; left: the edit's text after Enter; after a choice, also the stored address;
        // warning: title: text
        AddColumns<QString, QString, QString, QString, QString, QString>("typed", "chosen", "type", "drawn", "left",
                                                                         "warning");
        const char* sixOver4 =
            "10 bits|0xFE80|Link-Local Prefix; 86 bits|0|6over4 Constant; 32 bits|0.0.0.1|IPv4 Address";
        AddRow("fe80:0:0::1 is 6over4, compressed on leaving", "fe80:0:0::1", "", "6over4", sixOver4, "FE80::1", "");
        AddRow("an IPv4-only name warns", "ipv4.test", "", "", "", "ipv4.test",
               "IPv6 Resolve Failed: No IPv6 addresses are available for this host name");
        AddRow("choosing 6to4 writes its prefix", "FE80::1", "6to4", "6to4",
               "16 bits|2002|6to4 Prefix; 32 bits|0.0.0.0|IPv4 Address; 16 bits|0x0000|Subnet ID; 64 "
               "bits|00:00:00:00:00:00:00:01|EUI-64 Interface ID",
               "2002::1", "");
        AddRow(
            "Link-Local is less specific: same address, its own fields", "FE80::1", "Link-Local", "Link-Local",
            "10 bits|0xFE80|Link-Local Prefix; 54 bits|0|Unused; 64 bits|00:00:00:00:00:00:00:01|EUI-64 Interface ID",
            "FE80::1", "");
        AddRow("Global is abstract and cannot be chosen", "FE80::1", "Global", "6over4", sixOver4, "FE80::1", "");
    }
    void typingOrChoosingAType()
    {
        QFETCH(QString, typed);
        QFETCH(QString, chosen);
        QFETCH(QString, drawn);
        MessageBoxCloser closer;
        TypeOver(ui->ipv6AddressEdit, typed);
        if (!chosen.isEmpty()) {
            const QModelIndex row = RowOf(chosen);
            tree->scrollTo(row);
            QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualRect(row).center());
            // A selection forced onto the row, as a click on an abstract row cannot, is put back.
            tree->selectionModel()->setCurrentIndex(row,
                                                    QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
            QTEST(Stored(), "left");
            QTEST(ui->ipv6AddressEdit->text(), "left");
        }
        QTEST(SelectedType(), "type");
        QCOMPARE(Drawn(), drawn);
        // Each field is drawn as its shadow, box and three texts.
        QCOMPARE(ui->ipv6GraphicsView->items().size(), static_cast<qsizetype>(5 * Picture().GetFields().size()));
        for (QWidget* widget : std::initializer_list<QWidget*>{ui->ipv6AddressTypeLabel, tree,
                                                               ui->ipv6AddressFormatLabel, ui->ipv6GraphicsView})
            QCOMPARE(widget->isEnabled(), !drawn.isEmpty());
        QTest::keyClick(ui->ipv6AddressEdit, Qt::Key_Enter); // the keypad's
        AwaitLookup(ui->ipv6AddressEdit);
        QTEST(ui->ipv6AddressEdit->text(), "left");
        QTEST(closer.title.isEmpty() ? "" : closer.title + ": " + closer.text, "warning");
        QCOMPARE(Settings()->GetIPv6Address().IsValid(), !drawn.isEmpty());
    }

    void pictureShrinksToANarrowViewOnly()
    {
        TypeOver(ui->ipv6AddressEdit, "FE80::1");
        QGraphicsView* view = ui->ipv6GraphicsView;
        view->resize(250, view->height());
        QCOMPARE(view->transform().m22(), 250 / view->scene()->sceneRect().width() - 0.02);
        view->resize(static_cast<int>(view->scene()->sceneRect().width()) + 50, view->height());
        QVERIFY(view->transform().isIdentity());
        view->resize(300, view->height()); // every update fits its new picture
        TypeOver(ui->ipv6AddressEdit, "FF02::1");
        QCOMPARE(view->transform().m11(), 300 / view->scene()->sceneRect().width() - 0.02);
    }

    void updatesNotFromTheEditRewriteIt()
    {
        TypeOver(ui->ipv6AddressEdit, "fe80::0:1");
        Settings()->SetIPv6Address(IPv6Address(std::string("ff02:0::2")));
        QVERIFY(ui->ipv6AddressEdit->text() == "FF02::2" && SelectedType() == "All Routers");
        Settings()->SetIPv6Address(IPv6Address());
        QVERIFY(ui->ipv6AddressEdit->text().isEmpty() && SelectedType().isEmpty());
    }
};

OCTETRY_WINDOW_TEST_MAIN(TstIPv6TabController)

#include "tst_ipv6tabcontroller.moc"
