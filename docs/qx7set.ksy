meta:
  id: qx7set
  title: Tileset table of the game (qx7set.dat), as Kestrivane reads and writes it
  file-extension: dat
  endian: le
doc: |
  The game's tileset table: a 5-byte header, then one entry a tileset, each
  with its name, its ambient sound scheme number and its slot texts. Texts
  are bytes, shown in the player's Windows code page; each ends at its first
  NUL within its 32-byte field, and whatever follows the NUL is stale.
  Kestrivane writes 151 slots a tileset and at most 255 tilesets; it reads a
  file with fewer slots a tileset too, and refuses one with more.
seq:
  - id: tileset_count
    type: u1
  - id: slots_per_tileset
    type: u4
    doc: 151 in every table that Kestrivane writes.
  - id: tilesets
    type: tileset
    repeat: expr
    repeat-expr: tileset_count
types:
  tileset:
    seq:
      - id: name
        type: text_field
      - id: ambient
        type: u1
        doc: The ambient sound scheme number; 0 to 254 in the editor, 255 kept as found.
      - id: slots
        type: text_field
        repeat: expr
        repeat-expr: _root.slots_per_tileset
  text_field:
    doc: |
      A text of at most 31 bytes and its NUL. A field without a NUL holds 32
      bytes of text; the editor keeps its first 31.
    seq:
      - id: text
        size: 32
        terminator: 0
        include: false
