[Version]
Value=V1.0b1
[Highlight]
0={a b/1/2
1=a}/3/4
2={}/0/99
3={{x}}/16/16
