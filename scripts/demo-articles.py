#!/usr/bin/env python3
"""Writes the demo shop's articles as SQL inserts into QOV_PLU (for scripts/make-demo-home.sh).

A few hundred articles of a Serbian corner shop: names, prices, stock, VAT, unit, department
and type. Some names are written in display-font text (Cyrillic on screen with the display
font: "^aj" is shown as Чај). The list is fixed, so every demo folder holds the same shop.
"""

# (name, department 0-9, price, VAT position, unit position 0 kom / 1 kg, variants). Names
# and variants together stay within 18 characters, the name width of a 22-column printer.
PRODUCTS = [
    ("Hleb beli", 0, 65.00, 1, 0, ["400g", "600g", "800g"]),
    ("Hleb crni", 0, 79.00, 1, 0, ["500g", "700g"]),
    ("Hleb razeni", 0, 99.00, 1, 0, ["500g"]),
    ("Kifla", 0, 25.00, 1, 0, ["", "susam", "mak"]),
    ("Burek", 0, 180.00, 1, 0, ["sir", "meso", "jabuka"]),
    ("Pogaca", 0, 120.00, 1, 0, ["", "cvarci"]),
    ("Perec", 0, 30.00, 1, 0, [""]),
    ("Kroasan", 0, 95.00, 1, 0, ["cokolada", "vanila", "prazan"]),
    ("Mleko 2.8%", 1, 139.00, 1, 0, ["1l", "0.5l"]),
    ("Mleko 1.5%", 1, 129.00, 1, 0, ["1l", "0.5l"]),
    ("Jogurt", 1, 115.00, 1, 0, ["1l", "0.5l", "180g"]),
    ("Kiselo mleko", 1, 89.00, 1, 0, ["0.5l", "1l"]),
    ("Pavlaka", 1, 99.00, 1, 0, ["180g", "400g", "700g"]),
    ("Sir", 1, 890.00, 1, 1, ["feta", "trapist", "gauda", "edamer", "mladi"]),
    ("Kajmak", 1, 1490.00, 1, 1, [""]),
    ("Maslac", 1, 320.00, 1, 0, ["250g", "125g"]),
    ("Jaja", 1, 25.00, 1, 0, ["kom", "10 kom"]),
    ("Pilece", 2, 799.00, 1, 1, ["belo", "batak", "krilca"]),
    ("Svinjski", 2, 849.00, 1, 1, ["vrat", "but", "kare"]),
    ("Junece", 2, 1199.00, 1, 1, ["gulas", "but", "rebra"]),
    ("Kobasica", 2, 699.00, 1, 1, ["domaca", "sremska", "pileca"]),
    ("Prsuta", 2, 2499.00, 1, 1, ["goveda", "svinjska"]),
    ("Cevapi", 2, 999.00, 1, 1, [""]),
    ("Pljeskavica", 2, 899.00, 1, 1, ["", "sir"]),
    ("Slanina", 2, 1099.00, 1, 1, ["", "dimljena"]),
    ("Salama", 2, 899.00, 1, 1, ["zimska", "pileca", "cajna"]),
    ("Jabuka", 3, 129.00, 1, 1, ["ajdared", "greni", "zlatna"]),
    ("Krompir", 3, 69.00, 1, 1, ["beli", "crveni", "mladi"]),
    ("Luk", 3, 89.00, 1, 1, ["crni", "beli", "mladi"]),
    ("Paradajz", 3, 199.00, 1, 1, ["", "cheri"]),
    ("Paprika", 3, 249.00, 1, 1, ["babura", "ljuta", "sivlija"]),
    ("Banana", 3, 179.00, 1, 1, [""]),
    ("Pomorandza", 3, 169.00, 1, 1, [""]),
    ("Mandarina", 3, 189.00, 1, 1, [""]),
    ("Limun", 3, 229.00, 1, 1, [""]),
    ("Grozdje", 3, 299.00, 1, 1, ["belo", "crno"]),
    ("Krastavac", 3, 159.00, 1, 1, [""]),
    ("Kupus", 3, 79.00, 1, 1, ["beli", "crveni"]),
    ("Sargarepa", 3, 99.00, 1, 1, [""]),
    ("Tikvica", 3, 149.00, 1, 1, [""]),
    ("Voda", 4, 59.00, 2, 0, ["0.5l", "1.5l", "5l"]),
    ("Voda gazirana", 4, 69.00, 2, 0, ["0.5l", "1.5l"]),
    ("Sok jabuka", 4, 159.00, 2, 0, ["1l", "0.2l"]),
    ("Sok narandza", 4, 179.00, 2, 0, ["1l", "0.2l"]),
    ("Sok breskva", 4, 169.00, 2, 0, ["1l", "0.2l"]),
    ("Sok visnja", 4, 169.00, 2, 0, ["1l"]),
    ("Cola", 4, 149.00, 2, 0, ["0.5l", "1l", "2l"]),
    ("Pivo", 4, 119.00, 2, 0, ["0.5l", "0.33l", "limenka"]),
    ("Pivo tamno", 4, 139.00, 2, 0, ["0.5l"]),
    ("Vino belo", 4, 549.00, 2, 0, ["0.75l", "1l"]),
    ("Vino crno", 4, 599.00, 2, 0, ["0.75l", "1l"]),
    ("Rakija", 4, 1290.00, 2, 0, ["sljiva", "kajsija", "dunja"]),
    ("Kafa", 4, 299.00, 2, 0, ["100g", "200g", "500g"]),
    ("Nes kafa", 4, 39.00, 2, 0, ["kesica", "200g"]),
    ("Cokolada", 5, 149.00, 2, 0, ["mlecna", "crna", "lesnik", "keks"]),
    ("Keks", 5, 89.00, 2, 0, ["petit", "krem", "integral"]),
    ("Napolitanke", 5, 199.00, 2, 0, ["lesnik", "kakao", "limun"]),
    ("Bombone", 5, 129.00, 2, 0, ["vocne", "mentol", "karamel"]),
    ("Smoki", 5, 69.00, 2, 0, ["50g", "150g"]),
    ("Cips", 5, 139.00, 2, 0, ["slani", "paprika", "pavlaka"]),
    ("Sladoled", 5, 99.00, 2, 0, ["vanila", "cokolada", "jagoda"]),
    ("Stapici", 5, 59.00, 2, 0, ["slani", "susam"]),
    ("Sampon", 6, 349.00, 2, 0, ["400ml", "250ml"]),
    ("Sapun", 6, 79.00, 2, 0, ["", "tecni"]),
    ("Pasta za zube", 6, 229.00, 2, 0, ["75ml", "50ml"]),
    ("Cetkica zube", 6, 199.00, 2, 0, ["meka", "tvrda"]),
    ("Krema za ruke", 6, 299.00, 2, 0, ["50ml"]),
    ("Dezodorans", 6, 399.00, 2, 0, ["muski", "zenski"]),
    ("Deterdzent", 7, 1299.00, 2, 0, ["3kg", "6kg", "tecni"]),
    ("Za sudove", 7, 249.00, 2, 0, ["500ml", "1l"]),
    ("Omeksivac", 7, 399.00, 2, 0, ["1l", "2l"]),
    ("Izbeljivac", 7, 189.00, 2, 0, ["1l"]),
    ("Za staklo", 8, 279.00, 2, 0, ["500ml"]),
    ("Toalet papir", 8, 399.00, 2, 0, ["8 rol", "4 rol"]),
    ("Ubrusi", 8, 249.00, 2, 0, ["2 rol"]),
    ("Kese za smece", 8, 189.00, 2, 0, ["35l", "60l", "120l"]),
    ("Secer", 9, 119.00, 1, 1, ["", "kocka"]),
    ("Brasno", 9, 79.00, 1, 1, ["T-400", "T-500", "T-850"]),
    ("Ulje", 9, 229.00, 1, 0, ["1l", "2l", "5l"]),
    ("So", 9, 49.00, 1, 0, ["1kg", "morska"]),
    ("Pirinac", 9, 189.00, 1, 1, ["", "dugo zrno"]),
    ("Testenina", 9, 99.00, 1, 0, ["spagete", "makarone", "skoljke", "pera"]),
    ("Supa", 9, 59.00, 1, 0, ["pileca", "goveda"]),
    ("Pire paradajz", 9, 89.00, 1, 0, ["200g", "500g"]),
    ("Pasulj", 9, 249.00, 1, 1, ["beli", "tetovac"]),
    ("Novine", 9, 60.00, 0, 0, ["dnevne", "nedeljne"]),
    ("Cigarete", 9, 420.00, 0, 0, ["soft", "box"]),
    ("Baterije AA", 9, 249.00, 2, 0, ["2 kom", "4 kom"]),
    ("Sijalica", 9, 199.00, 2, 0, ["60W", "LED 9W"]),
    ("Upaljac", 9, 49.00, 2, 0, [""]),
    ("Jogurt", 1, 79.00, 1, 0, ["jagoda", "breskva", "sumsko voce"]),
    ("Puding", 1, 69.00, 1, 0, ["vanila", "cokolada", "karamel"]),
    ("Mladi sir", 1, 189.00, 1, 0, ["250g", "500g"]),
    ("Pavlaka za kuvanje", 1, 149.00, 1, 0, [""]),
    ("Pastrmka", 2, 1199.00, 1, 1, ["", "dimljena"]),
    ("Saran", 2, 699.00, 1, 1, [""]),
    ("Tuna", 2, 249.00, 1, 0, ["u ulju", "salata"]),
    ("Sardina", 2, 119.00, 1, 0, ["", "paradajz"]),
    ("Pecurke", 3, 399.00, 1, 1, ["sveze", "konzerva"]),
    ("Spanac", 3, 229.00, 1, 1, [""]),
    ("Blitva", 3, 199.00, 1, 1, [""]),
    ("Kruska", 3, 219.00, 1, 1, ["", "viljamovka"]),
    ("Sljiva", 3, 149.00, 1, 1, [""]),
    ("Lubenica", 3, 59.00, 1, 1, [""]),
    ("Dinja", 3, 99.00, 1, 1, [""]),
    ("Ledeni caj", 4, 139.00, 2, 0, ["breskva", "limun"]),
    ("Energ. pice", 4, 189.00, 2, 0, ["0.25l", "0.5l"]),
    ("Kakao", 4, 249.00, 2, 0, ["200g", "400g"]),
    ("Vafl", 5, 79.00, 2, 0, ["lesnik", "kakao", "kokos"]),
    ("Kroki", 5, 99.00, 2, 0, ["", "slani"]),
    ("Gumene bomb.", 5, 149.00, 2, 0, ["", "kis."]),
    ("Med", 5, 899.00, 1, 0, ["livadski", "bagrem"]),
    ("Pekmez", 5, 299.00, 1, 0, ["sljiva", "kajsija"]),
    ("Gel za tusiranje", 6, 299.00, 2, 0, [""]),
    ("Pelene", 6, 1599.00, 2, 0, ["3", "4", "5"]),
    ("Maramice", 6, 149.00, 2, 0, ["vlazne", "bebi"]),
    ("Sunder", 8, 99.00, 2, 0, ["kuhinja", "zica"]),
    ("Krpa", 8, 149.00, 2, 0, ["pod", "mikrofiber"]),
    ("Folija", 8, 199.00, 2, 0, ["providna", "aluminijum"]),
    ("Sibice", 9, 15.00, 2, 0, [""]),
    ("Kvasac", 9, 25.00, 1, 0, ["svezi", "suvi"]),
    ("Prasak za pecivo", 9, 19.00, 1, 0, [""]),
    ("Vanilin secer", 9, 19.00, 1, 0, [""]),
    ("Zacin", 9, 89.00, 1, 0, ["vegeta", "biber", "aleva"]),
    ("Sirce", 9, 79.00, 1, 0, ["alkoholno", "jabukovo"]),
    ("Majonez", 9, 179.00, 1, 0, ["", "light"]),
    ("Senf", 9, 99.00, 1, 0, [""]),
    ("Kecap", 9, 159.00, 1, 0, ["blagi", "ljuti"]),
    ("Ajvar", 9, 349.00, 1, 0, ["blagi", "ljuti"]),
    ("Kukuruz", 9, 129.00, 1, 0, ["konzerva", "kokice"]),
    ("Grasak", 9, 119.00, 1, 0, ["konzerva", "smrznut"]),
    ("Cvekla", 9, 139.00, 1, 0, [""]),
    ("Kiseli krastavci", 9, 199.00, 1, 0, [""]),
    ("Masline", 9, 249.00, 1, 0, ["zelene", "crne"]),
    ("Za pse", 9, 399.00, 2, 0, ["suva", "konzerva"]),
    ("Za macke", 9, 349.00, 2, 0, ["suva", "konzerva"]),
]

# Names in display-font text: shown in Cyrillic with the display font.
FONT_TEXT_PRODUCTS = [
    ("^aj od nane", 4, 129.00, 2, 0),
    ("^aj od kamilice", 4, 129.00, 2, 0),
    ("[e]er kristal 1kg", 9, 119.00, 1, 0),
    ("@vaka~e", 5, 49.00, 2, 0),
    ("Qute papri~ice", 3, 299.00, 1, 1),
    ("Xem od kajsije", 5, 349.00, 1, 0),
    ("Wegova mast", 9, 219.00, 1, 0),
    ("\\umbus", 5, 89.00, 2, 0),
    ("Kisela voda", 4, 79.00, 2, 0),
    ("Mleveno meso", 2, 749.00, 1, 1),
    ("Domaki ajvar", 3, 449.00, 1, 0),
    ("Ra}ilo", 9, 899.00, 2, 0),
]


def sql_text(text):
    return "'" + text.replace("'", "''") + "'"


def number(value):
    text = f"{value:.3f}".rstrip("0").rstrip(".")
    return text if text else "0"


def main():
    rows = []
    for name, department, price, vat, unit, sizes in PRODUCTS:
        for index, size in enumerate(sizes):
            full = f"{name} {size}".strip()
            assert len(full) <= 18, full
            rows.append((full, price * (1 + 0.6 * index), vat, unit, department))
    for name, department, price, vat, unit in FONT_TEXT_PRODUCTS:
        rows.append((name, price, vat, unit, department))
    # Stock: whole pieces for "kom", kilograms or litres with decimals otherwise.
    print("BEGIN;")
    for number_, (name, price, vat, unit, department) in enumerate(rows, start=1):
        stock = (number_ * 37) % 240 + 5
        if unit != 0:
            stock = stock / 10 + 0.25
        art_type = 1 if unit == 1 else 0
        single = 1 if "Cigarete" in name else 0
        print(
            "INSERT INTO QOV_PLU (BAR_CODE, DESCRIPTION, PRICE, VAT_CODE, MES_TYPE, ART_TYPE, "
            f"ONE_ITEM, DEPARTMENT, INVENTARY) VALUES ({sql_text(f'{number_:012d}')}, "
            f"{sql_text(name)}, {number(round(price, 2))}, {vat}, {unit}, {art_type}, {single}, "
            f"{department}, {number(stock)});"
        )
    print("COMMIT;")


if __name__ == "__main__":
    main()
